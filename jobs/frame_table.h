#pragma once
// A sprite's frame table as the jobs and the command line's info use it.

#include "core/grp_format.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace pixmorph {

// Every entry of the table; nullopt when the file ends inside it.
std::optional<std::vector<FrameEntry>> readFrameTable(Bytes file, std::size_t frameCount);

// Per frame, the frame it repeats: the lowest frame with the same entry (data offset, place
// and size). Only the entries count, never the pixels.
std::vector<std::optional<std::size_t>> findRepeats(const std::vector<FrameEntry>& table);

} // namespace pixmorph
