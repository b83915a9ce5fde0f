#pragma once
// The byte-wise text rules the file formats and names share: ASCII only, whatever the locale.

#include <algorithm>
#include <string_view>

namespace pixmorph {

// Blank, tab, line feed, vertical tab, form feed or carriage return.
inline bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when text ends in suffix, letters compared without regard to case.
inline bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(),
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

// The compile's check of a list's name: the text from the last '.' is ".qbl" in any case.
inline bool isQblPath(std::string_view path) {
    return endsWithIgnoringCase(path, ".qbl");
}

} // namespace pixmorph
