#pragma once
// The archive name list ("sc_data.txt"): the names the program looks up in the archive, since
// it does not enumerate the archive itself.

#include "core/bytes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pixmorph {

// The longest line the list may hold; a longer line is not a name the archive can hold and is
// skipped whole, so that it is never looked up cut short.
inline constexpr std::size_t kNameLineLimit = 299;

// The most lines a list may hold: far more names than any game archive has files. Each line
// costs memory and a look-up whether or not it names anything (a file of line ends alone would
// otherwise cost gigabytes), so a longer list is refused.
inline constexpr std::size_t kMaxNameLines = 65536;

// The lines of the list, in file order. A line ends at each LF; CR bytes are dropped wherever
// they stand; bytes after the last LF form no line; empty lines are kept (they are looked up
// and never found); nothing else is trimmed. Lines over the limit, and lines holding a NUL
// byte (which no name can hold), are skipped. Parsing stops after kMaxNameLines + 1 lines, so
// a list that holds more is seen to be too long.
std::vector<std::string> parseNameList(Bytes contents);

} // namespace pixmorph
