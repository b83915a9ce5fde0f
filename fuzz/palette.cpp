// The palette readers. The first byte chooses the reader: below 0x80, a raw palette (the rest,
// cut to 768 bytes), a text file as given (made longer than 768 bytes, so the text reader takes
// it), or colour lines behind a valid JASC header; from 0x80 on, the rest as a file of one of
// the names Load Palette takes, read by content and name (RIFF, Adobe, tileset, GIMP, BMP and
// PNG palettes, and raw and JASC ones again).
#include "core/palette.h"

#include "fuzz_check.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace pixmorph;

namespace {

constexpr std::size_t kRawSize = 768;
constexpr std::string_view kJascHeader = "JASC-PAL\r\n0100\r\n256\r\n";

void checkColours(const PaletteFile& file) {
    for (const std::uint32_t colour : file.palette.entries)
        FUZZ_CHECK((colour >> 24) == 0);
}

// The decimal conversion agrees with the C library's wherever that one does not overflow.
void checkNumber(Bytes bytes) {
    const std::string part(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 24));
    if (part.find('\0') != std::string::npos)
        return;
    errno = 0;
    const long long value = std::strtoll(part.c_str(), nullptr, 10);
    if (errno == 0)
        FUZZ_CHECK(jascNumber(part) == static_cast<std::uint8_t>(value & 0xFF));
}

// A kind is only ever read under a name that allows it, and a refusal gives the built-in
// colours.
void checkNamedFile(Bytes bytes, std::uint8_t choice) {
    static constexpr std::string_view kNames[] = {"f.pal", "f.act", "f.wpe",
                                                  "f.gpl", "f.bmp", "f.png"};
    const std::string_view name = kNames[choice % std::size(kNames)];
    FUZZ_CHECK(isPaletteFileName(name));
    const PaletteFile file = readPaletteFile(bytes, name);
    checkColours(file);
    switch (file.kind) {
    case PaletteFileKind::notRecognised:
    case PaletteFileKind::jascNot256:
        FUZZ_CHECK(file.palette == DefaultPalette);
        break;
    case PaletteFileKind::raw:
        FUZZ_CHECK(name == "f.pal" && bytes.size() <= kRawSize);
        break;
    case PaletteFileKind::act:
        FUZZ_CHECK(name == "f.act");
        break;
    case PaletteFileKind::tileset:
        FUZZ_CHECK(name == "f.wpe" && bytes.size() == 1024);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const Bytes rest(data + 1, size - 1);
    if (data[0] >= 0x80) {
        checkNamedFile(rest, data[0] & 0x7F);
        return 0;
    }
    checkNumber(rest);
    ByteVector text;
    switch (data[0] % 3) {
    case 0: {
        const Bytes raw = rest.first(std::min(rest.size(), kRawSize));
        const PaletteFile file = parsePaletteFile(raw);
        FUZZ_CHECK(file.kind == PaletteFileKind::raw);
        checkColours(file);
        // The bytes it covers are the colours, in file order.
        for (std::size_t i = 0; i + 2 < raw.size(); i += 3)
            FUZZ_CHECK(file.palette.entries[i / 3] ==
                       Palette::colour(raw[i], raw[i + 1], raw[i + 2]));
        return 0;
    }
    case 1:
        text.assign(rest.begin(), rest.end());
        break;
    default:
        text.assign(kJascHeader.begin(), kJascHeader.end());
        text.insert(text.end(), rest.begin(), rest.end());
        break;
    }
    if (text.size() <= kRawSize)
        text.resize(kRawSize + 1, '\n');
    const PaletteFile file = parsePaletteFile(text);
    FUZZ_CHECK(file.kind != PaletteFileKind::raw);
    checkColours(file);
    if (file.kind != PaletteFileKind::jasc)
        FUZZ_CHECK(file.palette == DefaultPalette);
    if (data[0] % 3 == 2)
        FUZZ_CHECK(file.kind == PaletteFileKind::jasc);
    return 0;
}
