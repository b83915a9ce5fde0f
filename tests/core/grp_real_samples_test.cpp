// Sprites made by other tools, when the folder is there: their encodings differ from ours.
#include "core/file_io.h"
#include "core/grp_format.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

const std::filesystem::path kSamples = "/work/shared/real-samples";

class CanvasBounds final : public FrameRowSink {
public:
    explicit CanvasBounds(const FrameEntry& entry) : entry_(entry) {}
    void store(int column, int row, std::uint8_t) override {
        outside += entry_.xOffset + column >= FrameCanvas::kColumns ||
                   entry_.yOffset + row >= FrameCanvas::kRows;
    }
    int outside = 0;

private:
    const FrameEntry& entry_;
};

TEST(RealSprites, DecodeWholeAndInsideTheCanvas) {
    if (!std::filesystem::is_directory(kSamples))
        GTEST_SKIP() << "no real samples here";
    int sprites = 0;
    for (const auto& item : std::filesystem::directory_iterator(kSamples)) {
        if (item.path().extension() != ".grp")
            continue;
        SCOPED_TRACE(item.path().filename().string());
        const FileReadResult read = readWholeFile(item.path().string());
        ASSERT_TRUE(read.ok());
        const auto header = readSpriteHeader(read.data);
        ASSERT_TRUE(header);
        // This one stores raw rows without row offsets; decoding it reads garbage, safely.
        const bool uncompressed = item.path().filename() == "icons.grp";
        FrameCanvas canvas;
        for (std::size_t i = 0; i < header->frameCount; ++i) {
            const auto entry = readFrameEntry(read.data, i);
            ASSERT_TRUE(entry);
            CanvasBounds bounds(*entry);
            const DecodeStatus status = decodeFrameRows(read.data, *entry, bounds);
            decodeFrame(read.data, *entry, canvas);
            if (uncompressed)
                continue;
            EXPECT_EQ(status, DecodeStatus::complete) << "frame " << i;
            EXPECT_EQ(bounds.outside, 0) << "frame " << i;
        }
        ++sprites;
    }
    EXPECT_GT(sprites, 0);
}

} // namespace
} // namespace pixmorph
