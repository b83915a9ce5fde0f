#pragma once
// QBL frame lists: the GRP's name, then one BMP name (or "dupe_of_" name) per frame.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

inline constexpr std::size_t kMaxListNameLength = 127;
inline constexpr std::string_view kDupePrefix = "dupe_of_";
inline constexpr std::string_view kRefusedListPrefix = "QuillbrightBigUn";

// The file name without its folder ('\\' or '/'), cut at its last '.'.
std::string stem(std::string_view grpFileName);
// A frame index in decimal, zero-padded to at least three digits.
std::string frameTag(long frameIndex);

// The list's text: one name per line, CR LF after each on every platform.
std::string writeQblList(const std::vector<std::string>& lines);

enum class QblReadStatus {
    ok,
    unsupportedFormat, // first name begins with "QuillbrightBigUn"
    empty,             // no name at all
    nameTooLong,       // a name over 127 characters
};

// The most frame names a list keeps: one more than a GRP's 16-bit frame count can hold, so a
// longer list is still seen to be too long while a list of millions of names costs no more
// memory than this.
inline constexpr std::size_t kMaxKeptListFrames = 65536;

struct QblList {
    QblReadStatus status = QblReadStatus::ok;
    std::string grpName;             // the first name
    std::vector<std::string> frames; // every further name, up to kMaxKeptListFrames of them
    std::size_t listedFrames = 0;    // how many further names the list holds, kept or not
    std::string offendingName;       // for nameTooLong
};

// Splits the text at white space (blanks, tabs, line ends). The refusal of the first name is
// tested before the length of the names.
QblList readQblList(std::string_view text);

// The message for a list that was not read (empty for ok); a long name is quoted whole.
std::string qblReadMessage(const QblList& list);

// The frame a "dupe_of_" name points at: the digits between "dupe_of_" + stem and ".bmp" when
// the name has that shape, else the three characters before the last four; nullopt when those
// are not a number.
std::optional<long> dupeFrameNumber(std::string_view name, std::string_view listStem);

} // namespace pixmorph
