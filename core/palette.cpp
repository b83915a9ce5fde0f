#include "core/palette.h"

#include "core/text_rules.h"

#include <cstddef>
#include <cstdlib>
#include <string>
#include <utility>

namespace pixmorph {
namespace {

// Text lines are read in pieces of at most this many characters (the line end not counted);
// the rest of a longer line comes back as the next line.
constexpr std::size_t kLineLimit = 127;

// Reads the text of a palette file line by line as a text-mode stream would: a line ends at
// LF, and a CR just before the LF is dropped.
class TextLines {
public:
    explicit TextLines(Bytes data) : data_(data) {}

    // Leaves `line` as it was at the end of the data, so a short file repeats its last line.
    bool next(std::string& line) {
        if (position_ >= data_.size())
            return false;
        std::string piece;
        while (position_ < data_.size() && piece.size() < kLineLimit && !atLineEnd())
            piece.push_back(static_cast<char>(data_[position_++]));
        if (atLineEnd())
            position_ += data_[position_] == '\r' ? 2 : 1;
        line = std::move(piece);
        return true;
    }

private:
    bool atLineEnd() const {
        const auto c = readU8(data_, position_);
        return c == '\n' || (c == '\r' && readU8(data_, position_ + 1) == '\n');
    }

    Bytes data_;
    std::size_t position_ = 0;
};

Palette readRawPalette(Bytes data) {
    Palette palette;
    for (std::size_t i = 0; i < palette.entries.size(); ++i) {
        auto channel = [&](std::size_t c) { return readU8(data, 3 * i + c).value_or(0); };
        palette.entries[i] = Palette::colour(channel(0), channel(1), channel(2));
    }
    return palette;
}

// Splits at the blanks from the right: blue after the last, green before it, red the rest.
// Parts that a line with fewer blanks lacks read as 0.
std::uint32_t jascColour(std::string_view line) {
    std::string_view parts[3]; // blue, green, red
    std::string_view rest = line;
    for (int i = 0; i < 2; ++i) {
        const std::size_t blank = rest.rfind(' ');
        if (blank == std::string_view::npos) {
            parts[i] = rest;
            rest = {};
            break;
        }
        parts[i] = rest.substr(blank + 1);
        rest = rest.substr(0, blank);
        if (i == 1)
            parts[2] = rest;
    }
    return Palette::colour(jascNumber(parts[2]), jascNumber(parts[1]), jascNumber(parts[0]));
}

PaletteFile readTextPalette(Bytes data) {
    TextLines lines(data);
    std::string line;
    lines.next(line);
    if (line.substr(0, 4) != "JASC")
        return {PaletteFileKind::notRecognised, DefaultPalette};
    lines.next(line); // the version
    lines.next(line);
    if (line.substr(0, 3) != "256")
        return {PaletteFileKind::jascNot256, DefaultPalette};
    PaletteFile result{PaletteFileKind::jasc, DefaultPalette};
    for (auto& entry : result.palette.entries) {
        lines.next(line);
        entry = jascColour(line);
    }
    return result;
}

} // namespace

Palette::Palette() : entries(DefaultPalette.entries) {}

bool hasPaletteName(std::string_view path) {
    return path.size() >= 3 && path.substr(path.size() - 3) == "pal";
}

PaletteFile parsePaletteFile(Bytes data) {
    if (data.size() <= kRawPaletteSize)
        return {PaletteFileKind::raw, readRawPalette(data)};
    return readTextPalette(data);
}

std::uint8_t jascNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isAsciiSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Only the low 8 bits count, so the value is kept modulo 256 and never overflows.
    unsigned value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = (value * 10 + static_cast<unsigned>(text[i] - '0')) & 0xFF;
    return static_cast<std::uint8_t>(negative ? (256 - value) & 0xFF : value);
}

std::string paletteFileName(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

NearestColour::NearestColour(const Palette& palette) : palette_(palette) {}

std::uint8_t NearestColour::lookUp(std::uint32_t key) {
    if (const auto found = memo_.find(key); found != memo_.end())
        return found->second;
    const std::uint8_t index = search(Palette::red(key), Palette::green(key), Palette::blue(key));
    // A compile may meet millions of distinct colours; the memo starts afresh rather than
    // growing with them.
    if (memo_.size() >= kMaxMemoColours)
        memo_.clear();
    memo_.emplace(key, index);
    return index;
}

std::uint8_t NearestColour::search(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const {
    int bestDistance = 1000;
    std::uint8_t best = 0;
    for (std::size_t i = 0; i < palette_.entries.size(); ++i) {
        const std::uint32_t entry = palette_.entries[i];
        const int distance = std::abs(red - Palette::red(entry)) +
                             std::abs(green - Palette::green(entry)) +
                             std::abs(blue - Palette::blue(entry));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::uint8_t>(i);
        }
    }
    return best;
}

} // namespace pixmorph
