#include "core/sheet_picture.h"

#include "core/bmp_file.h"
#include "core/messages.h"
#include "core/png_reader.h"

namespace pixmorph {

SheetPicture readSheetPicture(Bytes file, NearestColour& nearest, const std::string& fileName) {
    SheetPicture sheet;
    const auto tooLarge = [&] {
        sheet.refusal = fillIn(msg::kSheetTooLarge, {fileName, std::to_string(kMaxSheetSide),
                                                     std::to_string(kMaxSheetPixels)});
    };
    if (hasPngSignature(file)) {
        PngIndices read = readPngIndices(
            file, nearest, {static_cast<std::uint32_t>(kMaxSheetSide), kMaxSheetPixels});
        if (read.status == PngReadStatus::tooLarge)
            tooLarge();
        else if (read.status == PngReadStatus::damaged)
            sheet.refusal = fillIn(msg::kPngDamaged, {fileName, pngErrorText(read.error)});
        sheet.width = read.width;
        sheet.height = read.height;
        sheet.indices = std::move(read.indices);
        return sheet;
    }
    const BmpReadResult read =
        readBmpIndices(file, nearest, kMaxSheetSide, kMaxSheetPixels, sheet.indices);
    sheet.width = read.width;
    sheet.height = read.height;
    if (read.status == BmpReadStatus::tooLarge)
        tooLarge();
    else if (read.status != BmpReadStatus::ok)
        sheet.refusal = bmpReadMessage(read.status, fileName);
    else if (read.dataTruncated)
        sheet.refusal = fillIn(msg::kBitmapDataCut, {fileName});
    return sheet;
}

ByteVector encodeIndexedBmp(const std::uint8_t* indices, int width, int height, std::size_t stride,
                            const Palette& palette) {
    constexpr std::uint32_t kPixelOffset = 14 + 40 + 1024;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t pixelBytes = rowBytes * static_cast<std::size_t>(height);
    ByteVector out;
    out.reserve(kPixelOffset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    appendU32(out, static_cast<std::uint32_t>(kPixelOffset + pixelBytes));
    appendU32(out, 0);
    appendU32(out, kPixelOffset);
    for (const std::uint32_t field :
         {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)})
        appendU32(out, field);
    appendU16(out, 1);
    appendU16(out, 8);
    for (const std::uint32_t field :
         {0u, static_cast<std::uint32_t>(pixelBytes), 2834u, 2834u, 256u, 256u})
        appendU32(out, field);
    for (const std::uint32_t colour : palette.entries)
        for (const std::uint8_t part :
             {Palette::blue(colour), Palette::green(colour), Palette::red(colour), std::uint8_t{0}})
            out.push_back(part);
    // Bottom row first, each padded to four bytes.
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = indices + static_cast<std::size_t>(y) * stride;
        out.insert(out.end(), row, row + width);
        out.resize(out.size() + rowBytes - static_cast<std::size_t>(width), 0);
    }
    return out;
}

} // namespace pixmorph
