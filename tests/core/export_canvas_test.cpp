#include "core/bmp_file.h"
#include "grp_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using test::HandFrame;
using test::handLaidSprite;

TEST(ExportCanvas, SentinelsAndClearing) {
    ExportCanvas canvas;
    canvas.set(255, 256, 7); // the bottom right pixel of a 256 x 256 picture
    canvas.set(256, 5, 1);   // the sentinel column holds no picture
    EXPECT_TRUE(canvas.overflowed());
    EXPECT_EQ(canvas.at(255, 256), 7);
    canvas.clear();
    EXPECT_FALSE(canvas.overflowed());
    for (int i = 0; i < ExportCanvas::kSize; ++i) {
        EXPECT_EQ(canvas.at(256, i), ExportCanvas::kSentinel);
        EXPECT_EQ(canvas.at(i, 256), ExportCanvas::kSentinel);
        EXPECT_EQ(canvas.at(i % 256, 255), 0);
    }
}

TEST(ExportCanvas, FramesPlacedFromCanvasRowOne) {
    // A 10 x 5 frame at (3, 4) in a 64 x 64 sprite: picture columns 3-12, rows 4-8.
    const ByteVector row = {0x4A, 6};
    const ByteVector file = handLaidSprite(64, 64, {{3, 4, 10, 5, {row, row, row, row, row}}});
    ExportCanvas canvas;
    canvas.set(0, 1, 99); // cleared by the decode
    EXPECT_EQ(decodeFrameForExport(file, *readFrameEntry(file, 0), canvas), DecodeStatus::complete);
    int misplaced = 0;
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y)
            misplaced += canvas.at(x, y + 1) != (x >= 3 && x <= 12 && y >= 4 && y <= 8 ? 6 : 0);
    }
    EXPECT_EQ(misplaced, 0);

    const std::pair<HandFrame, bool> frames[] = {
        {{255, 255, 1, 1, {{0x01, 5}}}, false},         // the last pixel of the canvas
        {{255, 0, 2, 1, {{0x02, 5, 5}}}, true},         // one column too far
        {{0, 255, 1, 2, {{0x01, 5}, {0x01, 5}}}, true}, // one row too far
        {{250, 0, 2, 1, {{0x4A, 5}}}, true},            // a run past the frame's width
    };
    for (const auto& [frame, overflows] : frames) {
        const ByteVector sprite = handLaidSprite(256, 256, {frame});
        decodeFrameForExport(sprite, *readFrameEntry(sprite, 0), canvas);
        EXPECT_EQ(canvas.overflowed(), overflows) << int(frame.x) << ", " << int(frame.y);
        EXPECT_EQ(canvas.at(256, 1), ExportCanvas::kSentinel);
    }
}

} // namespace
} // namespace pixmorph
