#pragma once
// 256-colour palettes: the built-in one, the game's raw 768-byte files and JASC text files, the
// other kinds modders keep (RIFF, Adobe colour tables, the game's tileset .wpe files, GIMP
// palettes, the colour table of a BMP or PNG), and the nearest-colour match the compile uses
// for colour pictures.

#include "core/bytes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pixmorph {

// Entry i is the colour of pixel value i: red in bits 0-7, green 8-15, blue 16-23.
struct Palette {
    std::array<std::uint32_t, 256> entries;

    Palette(); // a copy of DefaultPalette
    explicit constexpr Palette(const std::array<std::uint32_t, 256>& colours) : entries(colours) {}
    static constexpr std::uint8_t red(std::uint32_t colour) { return colour & 0xFF; }
    static constexpr std::uint8_t green(std::uint32_t colour) { return (colour >> 8) & 0xFF; }
    static constexpr std::uint8_t blue(std::uint32_t colour) { return (colour >> 16) & 0xFF; }
    static constexpr std::uint32_t colour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return r | (g << 8) | (static_cast<std::uint32_t>(b) << 16);
    }
    bool operator==(const Palette&) const = default;
};

extern const Palette DefaultPalette;

inline constexpr std::string_view kDefaultPaletteName = "-=Default=-";

// The name rule: the last three characters are exactly "pal" (no dot needed).
bool hasPaletteName(std::string_view path);

// The game's raw palettes: red, green and blue bytes for each of the 256 colours.
inline constexpr std::size_t kRawPaletteSize = 768;

enum class PaletteFileKind {
    raw,           // 768 bytes or less
    jasc,          // "JASC" first line, "256" third line
    notRecognised, // above 768 bytes and no "JASC" first line; or a damaged file of another kind
    jascNot256,    // JASC whose third line does not begin with "256"
    riff,          // "RIFF" .... "PAL " with a "data" chunk of up to 256 entries
    act,           // Adobe colour table: 768 bytes, or 772 with a colour count
    tileset,       // the game's tileset .wpe: 256 x red, green, blue, pad
    gimp,          // "GIMP Palette" text of up to 256 colour lines
    bitmap,        // the colour table of a BMP of up to 8 bits a pixel
    png,           // the PLTE of an indexed PNG
};

struct PaletteFile {
    PaletteFileKind kind = PaletteFileKind::notRecognised;
    Palette palette; // the colours read; DefaultPalette for the two refusals
};

// The names Load Palette and --palette read: ending in "pal" (exactly, as always), or in .act,
// .wpe, .gpl, .bmp or .png in any case.
bool isPaletteFileName(std::string_view path);

// Recognises and reads a palette file by its content first and its name second. Files whose
// name ends in "pal" keep the size and first-line rules of parsePaletteFile, except that a
// RIFF palette is read as one whatever its size. Otherwise a RIFF, PNG, BMP, JASC or GIMP
// signature decides, and then the name: .act and .wpe by their exact sizes. Entries a file
// does not give are black.
PaletteFile readPaletteFile(Bytes data, std::string_view path);

// Recognises and reads a palette file's bytes (the size rule and the first-line rule). A raw
// file shorter than 768 bytes leaves the entries it does not cover black; a JASC file that ends
// early repeats its last colour line; a colour line with fewer than two blanks reads its
// missing parts as 0.
PaletteFile parsePaletteFile(Bytes data);

// The decimal conversion of JASC colour parts: leading white space, optional sign, digits;
// only the low 8 bits count.
std::uint8_t jascNumber(std::string_view text);

// The file name after the last separator ('\\' or '/'), for display names.
std::string paletteFileName(std::string_view path);

// Nearest palette index by the sum of absolute channel differences, lowest index winning
// ties; memoised per colour, so a picture of few colours costs few searches. The memo holds at
// most kMaxMemoColours colours (a few megabytes).
class NearestColour {
public:
    static constexpr std::size_t kMaxMemoColours = 1u << 16;
    explicit NearestColour(const Palette& palette);
    // Neighbouring pixels mostly share a colour, so the last one is answered before the memo.
    std::uint8_t match(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        const std::uint32_t key = Palette::colour(red, green, blue);
        if (key != lastKey_) {
            lastIndex_ = lookUp(key);
            lastKey_ = key;
        }
        return lastIndex_;
    }

private:
    std::uint8_t lookUp(std::uint32_t key);
    std::uint8_t search(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;
    Palette palette_;
    std::unordered_map<std::uint32_t, std::uint8_t> memo_;
    std::uint32_t lastKey_ = ~0u; // no colour's key
    std::uint8_t lastIndex_ = 0;
};

} // namespace pixmorph
