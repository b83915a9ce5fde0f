#include "app/message_text.h"

namespace pixmorph {

std::string withValue(std::string_view text, std::string_view value) {
    std::string filled(text);
    if (const auto at = filled.find("%1"); at != std::string::npos)
        filled.replace(at, 2, value);
    return filled;
}

} // namespace pixmorph
