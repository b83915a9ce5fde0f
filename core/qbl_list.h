#pragma once
// QBL frame lists: the GRP's name, then one BMP name (or "dupe_of_" name) per frame. Names
// are separated by white space; a name that holds blanks stands in double quotes.

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

enum class ListNameFit {
    fits,
    tooLong,   // over 127 characters
    unreadable // empty, a line break, or a '"' where the name would need quotes
};

// Whether the name reads back from a written list as itself. Names without white space are
// written as they are; the others in double quotes, so they may not hold '"' themselves, and
// no name may start with '"' or break its line.
ListNameFit listNameFit(std::string_view name);

// The list's text: one name per line, CR LF after each on every platform, names with blanks
// or tabs in double quotes. Every name must fit (listNameFit).
std::string writeQblList(const std::vector<std::string>& names);

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

// Splits the text at white space (blanks, tabs, line ends). A name that starts with '"' runs
// to the next '"' (or to its line's end) and may hold blanks; older lists never start a name
// with '"', which file names on the game's platform cannot hold. An empty quoted name is no
// name. The refusal of the first name is tested before the length of the names.
QblList readQblList(std::string_view text);

// The message for a list that was not read (empty for ok); a long name is quoted whole.
std::string qblReadMessage(const QblList& list);

// Per frame of the list, the earlier frame a "dupe_of_" entry repeats. The text after
// "dupe_of_" is matched against the bitmap names listed before the entry, the first such line
// winning, so renaming the sprite in the list's first line changes nothing. A name that no
// earlier bitmap line carries is read as older lists were: the three characters before its
// last four are the frame's number. `unresolved` is the first entry that names no earlier
// frame either way.
struct DupeFrames {
    std::vector<std::optional<std::size_t>> repeats;
    std::optional<std::size_t> unresolved;
};
DupeFrames resolveDupes(const std::vector<std::string>& frames);

} // namespace pixmorph
