#pragma once
// Text bound for the terminal. Names in messages come from files the user may have been sent
// (a list's bitmap names, an archive's name list): their control characters would move the
// cursor, recolour or retitle the terminal, so they are shown as \xNN escapes instead.

#include <string>
#include <string_view>

namespace pixmorph::cli {

// The text with every C0 and C1 control character and every byte that is not part of valid
// UTF-8 written as \xNN (the two bytes of a C1 character each so); the rest as it stands.
std::string escapeControls(std::string_view text);

// Whether the message names the file itself, so that a prefix would name it twice. A name's
// control characters may show as '?' in the message.
bool namesFile(std::string_view message, std::string_view file);

// Whether the descriptor (standard output or error) is a terminal, where progress is shown.
bool isTerminal(int descriptor);

} // namespace pixmorph::cli
