#pragma once
// Filling the %1 of a fixed message text.

#include <string>
#include <string_view>

namespace pixmorph {

// The text with its first "%1" replaced by the value.
std::string withValue(std::string_view text, std::string_view value);

} // namespace pixmorph
