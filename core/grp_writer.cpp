// The whole sprite file, built in memory in file order.
#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/messages.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace pixmorph {

namespace {

constexpr std::size_t kMaxFrames = std::numeric_limits<std::uint16_t>::max();

std::uint16_t headerSize(int largest) {
    return static_cast<std::uint16_t>(std::clamp(largest, 0, 0xFFFF));
}

} // namespace

std::string grpWriteErrorMessage(GrpWriteError error, std::size_t frameIndex) {
    // In the order of GrpWriteError.
    static constexpr std::string_view kTexts[] = {
        "",
        msg::kFrameBoxTooLarge,
        msg::kFrameOffsetTooLarge,
        msg::kFrameRowsTooLong,
        msg::kTooManyFrames,
        msg::kBadDuplicate,
        msg::kSpriteTooLarge,
    };
    static_assert(std::size(kTexts) == static_cast<std::size_t>(GrpWriteError::fileTooLarge) + 1);
    const auto index = static_cast<std::size_t>(error);
    if (error == GrpWriteError::none || index >= std::size(kTexts))
        return {};
    return fillIn(kTexts[index], std::to_string(frameIndex));
}

SpriteWriter::SpriteWriter(std::size_t frameCount, SpriteEncoding encoding)
    : frameCount_(std::min(frameCount, kMaxFrames)), encoding_(encoding) {
    // Width and height stay 0 until finish() knows the largest image.
    appendU16(file_, static_cast<std::uint16_t>(frameCount_));
    appendU16(file_, 0);
    appendU16(file_, 0);
    file_.resize(file_.size() + frameCount_ * kFrameEntrySize, 0);
    if (encoding_ == SpriteEncoding::runLength)
        file_.insert(file_.end(), kMakerTag.begin(), kMakerTag.end());
}

void SpriteWriter::noteImageSize(int width, int height) {
    largestWidth_ = std::max(largestWidth_, width);
    largestHeight_ = std::max(largestHeight_, height);
}

GrpWriteError SpriteWriter::addFrame(const IndexImage& image, int width, int height) {
    if (entries_.size() >= frameCount_)
        return GrpWriteError::tooManyFrames;
    noteImageSize(width, height);
    const FrameBox box = findFrameBox(image, width, height);
    EncodedFrame encoded = encoding_ == SpriteEncoding::uncompressed
                               ? encodeRawFrameData(image, box)
                               : encodeFrameData(image, box);
    if (encoded.error != GrpWriteError::none)
        return encoded.error;
    // The sprite is built in memory, and no reader takes a larger file.
    if (file_.size() + encoded.data.size() > kMaxWholeFileSize)
        return GrpWriteError::fileTooLarge;
    FrameEntry entry = box.entry;
    entry.dataOffset = static_cast<std::uint32_t>(file_.size());
    file_.insert(file_.end(), encoded.data.begin(), encoded.data.end());
    entries_.push_back(entry);
    return GrpWriteError::none;
}

GrpWriteError SpriteWriter::addDuplicate(std::size_t earlierFrame) {
    if (entries_.size() >= frameCount_)
        return GrpWriteError::tooManyFrames;
    if (earlierFrame >= entries_.size())
        return GrpWriteError::badDuplicate;
    entries_.push_back(entries_[earlierFrame]);
    return GrpWriteError::none;
}

ByteVector SpriteWriter::finish() {
    putU16(file_, 2, headerSize(largestWidth_));
    putU16(file_, 4, headerSize(largestHeight_));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::size_t at = kSpriteHeaderSize + i * kFrameEntrySize;
        const FrameEntry& entry = entries_[i];
        file_[at] = entry.xOffset;
        file_[at + 1] = entry.yOffset;
        file_[at + 2] = entry.width;
        file_[at + 3] = entry.height;
        putU32(file_, at + 4, entry.dataOffset);
    }
    return file_;
}

} // namespace pixmorph
