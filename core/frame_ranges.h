#pragma once
// Partial exports: the frames asked for ("0-16,34"), and the note their list ends with so that
// a compile knows the list lacks frames. The note is one more name, "partial_of_" + the
// sprite's frame count: a reader that does not know it takes it for a picture, finds no such
// file and writes nothing, rather than build a sprite with frames missing.

#include "core/qbl_list.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

struct FrameRange {
    std::size_t first = 0;
    std::size_t last = 0;
    bool operator==(const FrameRange&) const = default;
};

// Comma-separated frame numbers and ranges "A-B" (A <= B); nullopt for anything else.
std::optional<std::vector<FrameRange>> parseFrameRanges(std::string_view text);

// The frames the ranges name, each once, in frame order; nullopt when one lies past the last
// of frameCount frames.
std::optional<std::vector<std::size_t>> selectFrames(const std::vector<FrameRange>& ranges,
                                                     std::size_t frameCount);

inline constexpr std::string_view kPartialPrefix = "partial_of_";

std::string partialNote(std::size_t fullFrameCount);

// Takes the note off the end of the list's frames and gives the full frame count it states;
// nullopt (the list untouched) when the last name is no note.
std::optional<std::size_t> takePartialNote(QblList& list);

} // namespace pixmorph
