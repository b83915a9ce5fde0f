// Telling the palette kinds apart: content first, the name second.
#include "core/palette_kinds.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace pixmorph {

namespace {

constexpr std::array<std::string_view, 5> kOtherExtensions = {".act", ".wpe", ".gpl", ".bmp",
                                                              ".png"};

// The extension among kOtherExtensions the path ends in (any case), or empty.
std::string_view otherExtension(std::string_view path) {
    if (path.size() < 4)
        return {};
    std::string tail(path.substr(path.size() - 4));
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const std::string_view extension : kOtherExtensions)
        if (tail == extension)
            return extension;
    return {};
}

PaletteFile fromKind(PaletteFileKind kind, const std::optional<Palette>& palette) {
    if (!palette)
        return {PaletteFileKind::notRecognised, DefaultPalette};
    return {kind, *palette};
}

// The kinds with a signature of their own; nullopt when the data carries none of them.
std::optional<PaletteFile> readBySignature(Bytes data) {
    using namespace palette_kinds;
    if (hasRiffSignature(data))
        return fromKind(PaletteFileKind::riff, readRiff(data));
    if (hasPngSignature(data))
        return fromKind(PaletteFileKind::png, readPng(data));
    if (hasBitmapSignature(data))
        return fromKind(PaletteFileKind::bitmap, readBitmap(data));
    if (hasGimpSignature(data))
        return fromKind(PaletteFileKind::gimp, readGimp(data));
    return std::nullopt;
}

} // namespace

bool isPaletteFileName(std::string_view path) {
    return hasPaletteName(path) || !otherExtension(path).empty();
}

PaletteFile readPaletteFile(Bytes data, std::string_view path) {
    if (hasPaletteName(path)) {
        // The game's palettes and JASC files keep their rules; RIFF palettes are also named .pal.
        if (palette_kinds::hasRiffSignature(data))
            return fromKind(PaletteFileKind::riff, palette_kinds::readRiff(data));
        PaletteFile file = parsePaletteFile(data);
        if (file.kind == PaletteFileKind::notRecognised)
            if (const auto other = readBySignature(data))
                return *other;
        return file;
    }
    if (const auto file = readBySignature(data))
        return *file;
    const std::string_view extension = otherExtension(path);
    if (data.size() > 768) {
        // A JASC palette under another name is still one.
        const PaletteFile text = parsePaletteFile(data);
        if (text.kind != PaletteFileKind::notRecognised)
            return text;
    }
    if (extension == ".act")
        return fromKind(PaletteFileKind::act, palette_kinds::readAct(data));
    if (extension == ".wpe")
        return fromKind(PaletteFileKind::tileset, palette_kinds::readTileset(data));
    return {PaletteFileKind::notRecognised, DefaultPalette};
}

} // namespace pixmorph
