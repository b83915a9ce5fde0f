#include "core/frame_picture.h"

#include "core/bmp_file.h"
#include "core/messages.h"
#include "core/png_reader.h"

namespace pixmorph {
namespace {

FramePicture readBmpPicture(Bytes file, NearestColour& nearest, IndexImage& image,
                            const std::string& fileName) {
    const BmpReadResult read = readBmp(file, nearest, image);
    FramePicture picture{read.width, read.height, bmpReadMessage(read.status, fileName)};
    // A picture cut short would become a frame with pixels missing.
    if (picture.refusal.empty() && read.dataTruncated)
        picture.refusal = fillIn(msg::kBitmapDataCut, {fileName});
    return picture;
}

FramePicture readPngPicture(Bytes file, NearestColour& nearest, IndexImage& image,
                            const std::string& fileName) {
    image.clear();
    // libspng stops at what the image holds, as the bitmap reader does.
    constexpr auto kSide = static_cast<std::uint32_t>(IndexImage::kSize);
    const PngIndices read = readPngIndices(file, nearest, {kSide, std::size_t{kSide} * kSide});
    FramePicture picture{read.width, read.height, {}};
    if (read.status == PngReadStatus::damaged) {
        picture.refusal = fillIn(msg::kPngDamaged, {fileName, pngErrorText(read.error)});
    } else if (read.status == PngReadStatus::tooLarge || read.width > kMaxBitmapSize ||
               read.height > kMaxBitmapSize) {
        picture.refusal = fillIn(msg::kBitmapTooLarge, {fileName});
    } else {
        for (int y = 0; y < read.height; ++y)
            image.copyRow(0, y, read.indices.data() + static_cast<std::size_t>(y) * read.width,
                          read.width);
    }
    return picture;
}

} // namespace

FramePicture readFramePicture(Bytes file, NearestColour& nearest, IndexImage& image,
                              const std::string& fileName) {
    return hasPngSignature(file) ? readPngPicture(file, nearest, image, fileName)
                                 : readBmpPicture(file, nearest, image, fileName);
}

} // namespace pixmorph
