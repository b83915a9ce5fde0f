// GIMP palettes: a text file of "GIMP Palette", a few header lines and one colour a line.
#include "core/palette_kinds.h"

#include <string_view>

namespace pixmorph::palette_kinds {

namespace {

constexpr std::string_view kSignature = "GIMP Palette";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimStart(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// A decimal number of 0 to 255 at the start of the text (after blanks); nullopt otherwise.
std::optional<std::uint8_t> channel(std::string_view& text) {
    text = trimStart(text);
    unsigned value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + static_cast<unsigned>(text[digits] - '0');
        if (value > 255)
            return std::nullopt;
        ++digits;
    }
    if (digits == 0 || (digits < text.size() && !isBlank(text[digits])))
        return std::nullopt;
    text.remove_prefix(digits);
    return static_cast<std::uint8_t>(value);
}

} // namespace

bool hasGimpSignature(Bytes data) {
    const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    return text.starts_with(kSignature);
}

std::optional<Palette> readGimp(Bytes data) {
    if (!hasGimpSignature(data))
        return std::nullopt;
    std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
    std::array<std::uint32_t, 256> entries{};
    std::size_t count = 0;
    bool firstLine = true;
    while (!text.empty()) {
        const std::size_t lineEnd = text.find('\n');
        std::string_view line = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        if (firstLine) {
            firstLine = false;
            continue;
        }
        line = trimStart(line);
        if (line.empty() || line.front() == '#' || line.starts_with("Name:") ||
            line.starts_with("Columns:"))
            continue;
        const auto red = channel(line);
        const auto green = red ? channel(line) : std::nullopt;
        const auto blue = green ? channel(line) : std::nullopt;
        if (!blue || count == entries.size())
            return std::nullopt;
        entries[count++] = Palette::colour(*red, *green, *blue);
    }
    return Palette(entries);
}

} // namespace pixmorph::palette_kinds
