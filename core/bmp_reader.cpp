#include "core/bmp_file.h"
#include "core/messages.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace pixmorph {
namespace {

constexpr std::size_t kHeadersSize = 54;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kBitFields = 3;
// The three colour masks of a BI_BITFIELDS picture follow the 40-byte information header (and
// stand at the same place inside the longer header versions).
constexpr std::size_t kMasksEnd = kHeadersSize + 12;

// How a 16-bit pixel holds its channels: 5 bits each (the default), or 6 for green.
enum class Rgb16 { none, bits555, bits565 };

struct BmpHeaders {
    std::uint32_t dataOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0; // negative for a top-down picture
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    Rgb16 rgb16 = Rgb16::none; // set for a 16-bit picture whose layout is known
};

std::optional<BmpHeaders> readHeaders(Bytes file) {
    if (file.size() < kHeadersSize)
        return std::nullopt;
    BmpHeaders headers;
    headers.dataOffset = *readU32(file, 10);
    headers.width = static_cast<std::int32_t>(*readU32(file, 18));
    headers.height = static_cast<std::int32_t>(*readU32(file, 22));
    headers.bitCount = *readU16(file, 28);
    headers.compression = *readU32(file, 30);
    if (headers.bitCount == 16 && headers.compression == kUncompressed)
        headers.rgb16 = Rgb16::bits555;
    if (headers.bitCount == 16 && headers.compression == kBitFields && file.size() >= kMasksEnd) {
        const auto masks = std::array{*readU32(file, 54), *readU32(file, 58), *readU32(file, 62)};
        if (masks == std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F})
            headers.rgb16 = Rgb16::bits555;
        else if (masks == std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F})
            headers.rgb16 = Rgb16::bits565;
    }
    return headers;
}

// Places pixels by rows in stream order (the first row stored is the bottom one unless the
// picture is top-down) and drops those outside the picture. The image starts cleared and the
// streams only move forward, so no cell is written twice: a 0 (most of a sprite's picture)
// needs no store. The row being stored and the columns stored on it are kept at hand and noted
// in the image when the stream leaves the row, not at every run.
class PixelTarget {
public:
    PixelTarget(IndexImage& image, int width, int height, bool topDown)
        : image_(image), width_(width), height_(height), topDown_(topDown) {}
    PixelTarget(const PixelTarget&) = delete;
    PixelTarget& operator=(const PixelTarget&) = delete;
    ~PixelTarget() { noteRow(); }

    void set(int x, int streamRow, std::uint32_t value) {
        if (value != 0 && x >= 0 && x < width_)
            fill(x, streamRow, value, 1);
    }
    // count cells of one value, or the count values given, from x on (x within the row).
    void fill(int x, int streamRow, std::uint32_t value, int count) {
        count = std::min(count, width_ - x);
        if (value == 0 || count <= 0 || !enterRow(streamRow))
            return;
        std::fill_n(cells_ + x, count, value);
        noteColumns(x, x + count - 1);
    }
    void copy(int x, int streamRow, const std::uint8_t* values, int count) {
        count = std::min(count, width_ - x);
        if (count <= 0 || !enterRow(streamRow))
            return;
        std::copy_n(values, count, cells_ + x);
        noteColumns(x, x + count - 1);
    }

    int width() const { return width_; }
    int height() const { return height_; }

private:
    bool enterRow(int streamRow) {
        if (streamRow == streamRow_)
            return true;
        if (streamRow < 0 || streamRow >= height_)
            return false;
        noteRow();
        streamRow_ = streamRow;
        y_ = topDown_ ? streamRow : height_ - 1 - streamRow;
        cells_ = image_.rowToFill(y_);
        return true;
    }
    void noteColumns(int first, int last) {
        first_ = std::min(first_, first);
        last_ = std::max(last_, last);
    }
    void noteRow() {
        if (first_ <= last_)
            image_.noteFilled(first_, last_, y_);
        first_ = IndexImage::kSize;
        last_ = -1;
    }

    IndexImage& image_;
    int width_;
    int height_;
    bool topDown_;
    int streamRow_ = -1;
    int y_ = 0;
    std::uint32_t* cells_ = nullptr;
    int first_ = IndexImage::kSize;
    int last_ = -1;
};

// Returns whether the data ended before the picture did.
template <typename Target> bool decodeRle8(Bytes data, Target& target) {
    const std::size_t size = data.size();
    std::size_t at = 0;
    int x = 0;
    int row = 0;
    // x never needs to pass the width: cells beyond it are dropped, and nothing moves x back.
    auto advance = [&](int count) { x = std::min(x + count, target.width()); };
    while (row < target.height()) {
        if (size - at < 2)
            return true;
        const int count = data[at];
        const int value = data[at + 1];
        at += 2;
        if (count > 0) {
            // Stops at the width, where every further cell would be dropped: a stream of pairs
            // past the edge then costs no more than its bytes.
            target.fill(x, row, static_cast<std::uint32_t>(value), count);
            advance(count);
            continue;
        }
        switch (value) {
        case 0: // end of row
            x = 0;
            ++row;
            break;
        case 1: // end of picture
            return false;
        case 2: // delta: right and up (towards later rows of the stream)
            if (size - at < 2)
                return true;
            advance(data[at]);
            row += data[at + 1];
            at += 2;
            break;
        default: { // absolute run, padded to an even length; what the data holds is kept
            const int held = static_cast<int>(std::min<std::size_t>(value, size - at));
            target.copy(x, row, data.data() + at, held);
            advance(held);
            at += static_cast<std::size_t>(held);
            if (held < value)
                return true;
            if (value % 2 != 0 && at < size)
                ++at;
            break;
        }
        }
    }
    return false;
}

// A 5- or 6-bit channel widened to 8 bits by repeating its high bits in the low ones, so that
// the full value becomes 255.
constexpr std::uint8_t widen5(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}
constexpr std::uint8_t widen6(unsigned v) {
    return static_cast<std::uint8_t>((v << 2) | (v >> 4));
}

std::uint8_t match16(const std::uint8_t* pixel, Rgb16 layout, NearestColour& nearest) {
    const unsigned v = pixel[0] | (pixel[1] << 8);
    if (layout == Rgb16::bits565)
        return nearest.match(widen5((v >> 11) & 31), widen6((v >> 5) & 63), widen5(v & 31));
    return nearest.match(widen5((v >> 10) & 31), widen5((v >> 5) & 31), widen5(v & 31));
}

// Rows of 8-, 16-, 24- or 32-bit pixels, each padded to a multiple of four bytes.
template <typename Target>
bool decodeUncompressed(Bytes data, int bitCount, Rgb16 layout, Target& target,
                        NearestColour& nearest) {
    const std::size_t bytesPerPixel = static_cast<std::size_t>(bitCount) / 8;
    const std::size_t rowBytes =
        (static_cast<std::size_t>(target.width()) * bitCount + 31) / 32 * 4;
    for (int row = 0; row < target.height(); ++row) {
        // The row's pixels that the data holds; the picture ends early at the first it lacks.
        const std::size_t rowStart = row * rowBytes;
        const std::size_t held =
            rowStart < data.size() ? (data.size() - rowStart) / bytesPerPixel : 0;
        const int count = static_cast<int>(std::min<std::size_t>(held, target.width()));
        for (int x = 0; x < count; ++x) {
            const std::uint8_t* pixel = data.data() + rowStart + x * bytesPerPixel;
            target.set(x, row,
                       bytesPerPixel == 1   ? *pixel
                       : bytesPerPixel == 2 ? match16(pixel, layout, nearest)
                                            : nearest.match(pixel[2], pixel[1], pixel[0]));
        }
        if (count < target.width())
            return true;
    }
    return false;
}

bool isReadableUncompressed(const BmpHeaders& headers) {
    if (headers.rgb16 != Rgb16::none)
        return true;
    return headers.compression == kUncompressed &&
           (headers.bitCount == 8 || headers.bitCount == 24 || headers.bitCount == 32);
}

// Large pictures (sprite sheets) go to a buffer of their own, a byte per pixel.
class BufferTarget {
public:
    BufferTarget(std::vector<std::uint8_t>& cells, int width, int height, bool topDown)
        : cells_(cells), width_(width), height_(height), topDown_(topDown) {}
    void set(int x, int streamRow, std::uint32_t value) {
        if (x >= 0 && x < width_)
            fill(x, streamRow, value, 1);
    }
    void fill(int x, int streamRow, std::uint32_t value, int count) {
        count = std::min(count, width_ - x);
        if (count > 0 && streamRow >= 0 && streamRow < height_)
            std::fill_n(at(x, streamRow), count, static_cast<std::uint8_t>(value));
    }
    void copy(int x, int streamRow, const std::uint8_t* values, int count) {
        count = std::min(count, width_ - x);
        if (count > 0 && streamRow >= 0 && streamRow < height_)
            std::copy_n(values, count, at(x, streamRow));
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    std::uint8_t* at(int x, int streamRow) {
        const int y = topDown_ ? streamRow : height_ - 1 - streamRow;
        return cells_.data() + static_cast<std::size_t>(y) * width_ + x;
    }
    std::vector<std::uint8_t>& cells_;
    int width_;
    int height_;
    bool topDown_;
};

// The headers' checks, against the largest side and pixel count the caller takes; the picture
// is to be decoded when hasPixelsToDecode says so.
BmpReadResult checkHeaders(Bytes file, std::int64_t maxSide, std::int64_t maxPixels,
                           BmpHeaders& headers) {
    BmpReadResult result;
    const auto read = readHeaders(file);
    if (!read) {
        result.status = BmpReadStatus::truncated;
        return result;
    }
    headers = *read;
    const std::int64_t width = headers.width;
    const std::int64_t rows = std::abs(static_cast<std::int64_t>(headers.height));
    if (width > maxSide || rows > maxSide || width * rows > maxPixels) {
        result.status = BmpReadStatus::tooLarge;
        return result;
    }
    const bool rle8 = headers.compression == kRle8;
    if (!rle8 && !isReadableUncompressed(headers)) {
        result.status = BmpReadStatus::unsupportedFormat;
        return result;
    }
    // Only the height's sign has a meaning (a top-down picture); pixel data inside the headers
    // would read the headers as pixels.
    const std::size_t headersEnd = headers.compression == kBitFields ? kMasksEnd : kHeadersSize;
    if (width < 0 || headers.dataOffset < headersEnd) {
        result.status = BmpReadStatus::badHeaders;
        return result;
    }
    result.width = static_cast<int>(width);
    result.height = static_cast<int>(rows);
    if (result.width != 0 && result.height != 0 && headers.dataOffset >= file.size())
        result.dataTruncated = true;
    return result;
}

bool hasPixelsToDecode(const BmpReadResult& result) {
    return result.status == BmpReadStatus::ok && result.width != 0 && result.height != 0 &&
           !result.dataTruncated;
}

template <typename Target>
bool decodePixels(Bytes file, const BmpHeaders& headers, Target& target, NearestColour& nearest) {
    const Bytes data = file.subspan(headers.dataOffset);
    return headers.compression == kRle8
               ? decodeRle8(data, target)
               : decodeUncompressed(data, headers.bitCount, headers.rgb16, target, nearest);
}

} // namespace

BmpReadResult readBmp(Bytes file, NearestColour& nearest, IndexImage& image) {
    image.clear();
    BmpHeaders headers;
    BmpReadResult result =
        checkHeaders(file, kMaxBitmapSize, std::int64_t{kMaxBitmapSize} * kMaxBitmapSize, headers);
    if (hasPixelsToDecode(result)) {
        PixelTarget target(image, result.width, result.height, headers.height < 0);
        result.dataTruncated = decodePixels(file, headers, target, nearest);
    }
    return result;
}

BmpReadResult readBmpIndices(Bytes file, NearestColour& nearest, int maxSide, std::size_t maxPixels,
                             std::vector<std::uint8_t>& indices) {
    BmpHeaders headers;
    BmpReadResult result =
        checkHeaders(file, maxSide, static_cast<std::int64_t>(maxPixels), headers);
    const bool decode = hasPixelsToDecode(result);
    indices.assign(decode ? static_cast<std::size_t>(result.width) * result.height : 0, 0);
    if (decode) {
        BufferTarget target(indices, result.width, result.height, headers.height < 0);
        result.dataTruncated = decodePixels(file, headers, target, nearest);
    }
    return result;
}

std::string bmpReadMessage(BmpReadStatus status, std::string_view fileName) {
    switch (status) {
    case BmpReadStatus::ok:
        return {};
    case BmpReadStatus::unsupportedFormat:
        return std::string(msg::kUnsupportedBitmap);
    case BmpReadStatus::tooLarge:
        return fillIn(msg::kBitmapTooLarge, fileName);
    case BmpReadStatus::truncated:
        return fillIn(msg::kBitmapTruncated, fileName);
    case BmpReadStatus::badHeaders:
        return fillIn(msg::kBitmapBadHeaders, fileName);
    }
    return {};
}

} // namespace pixmorph
