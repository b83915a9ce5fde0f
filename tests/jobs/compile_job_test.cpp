#include "core/core_test_files.h"
#include "core/messages.h"
#include "jobs/compile_job.h"
#include "jobs/recording_view.h"
#include "support/job_files.h"

#include <array>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;
using Rgb = std::array<std::uint8_t, 3>;

// An uncompressed 24-bit bitmap as paint programs save it; rows[0] is the top row.
ByteVector bmp24(const std::vector<std::vector<Rgb>>& rows, std::uint32_t compression = 0) {
    ByteVector data;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (const Rgb& rgb : *row)
            data.insert(data.end(), {rgb[2], rgb[1], rgb[0]});
        data.resize((data.size() + 3) / 4 * 4);
    }
    return test::handLaidBmp(static_cast<std::int32_t>(rows[0].size()),
                             static_cast<std::int32_t>(rows.size()), 24, compression, data);
}

const Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};
const ByteVector kEarlier{'o', 'l', 'd'};

// A folder with the list, bitmaps of several kinds and an earlier x_u.grp.
struct ListFolder {
    ScratchDir dir;
    explicit ListFolder(const std::string& list) {
        writeFile(dir.file("u.qbl"), list);
        writeFile(dir.file("u000.bmp"), bmp24({{kWhite, kBlack}, {kBlack, kWhite}}));
        writeFile(dir.file("u001.bmp"), bmp24({{kBlack, kWhite, kWhite}}));
        writeFile(dir.file("rle4.bmp"), bmp24({{kWhite}}, 2));
        std::vector<Rgb> broad(256, kBlack);
        broad.front() = broad.back() = kWhite; // a box of 256 columns
        writeFile(dir.file("broad.bmp"), bmp24({broad}));
        writeFile(dir.file("x_u.grp"), kEarlier);
    }
};

TEST(CompileJob, WhatTheWindowShows) {
    const struct {
        const char* name;
        std::string list;
        JobOutcome outcome;
        std::vector<std::string> calls;
    } cases[] = {
        {"bitmaps and a repeat",
         "u.grp\r\nu000.bmp\r\nu001.bmp\r\ndupe_of_u000.bmp\r\n",
         JobOutcome::finished,
         {"status Compiling GRP.", "open 141", "range 1 3", "step 1", "position 1", "repaint",
          "advance", "repaint", "advance", "repaint", "position 0", "repaint", "status Finished.",
          "stop", "play 17 17 0", "ok"}},
        {"unsupported bitmap in mid-list",
         "u.grp u000.bmp rle4.bmp u001.bmp",
         JobOutcome::failed,
         {"status Compiling GRP.", "open 141", "range 1 3", "step 1", "position 1", "repaint",
          "advance", "repaint", "message"}},
        {"list of another maker",
         "QuillbrightBigUn.grp u000.bmp",
         JobOutcome::failed,
         {"status Compiling GRP.", "message"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ListFolder folder(c.list);
        const auto before = folder.dir.names();
        RecordingView view;
        EXPECT_EQ(compileSprite(view, {folder.dir.file("u.qbl"), "", Palette()}), c.outcome);
        EXPECT_EQ(view.calls, c.calls);
        EXPECT_EQ(folder.dir.names(), before);
        EXPECT_EQ(readFile(folder.dir.file("x_u.grp")) == kEarlier,
                  c.outcome == JobOutcome::failed);
    }
}

// A bitmap the sprite writer refuses names the bitmap and leaves the earlier GRP as it was; the
// other refusals are in the malformed-input suite.
TEST(CompileJob, AFrameTooLargeForAGrpLeavesTheEarlierGrp) {
    ListFolder folder("u.grp u000.bmp broad.bmp");
    const auto before = folder.dir.names();
    RecordingView view;
    EXPECT_EQ(compileSprite(view, {folder.dir.file("u.qbl"), "", Palette()}), JobOutcome::failed);
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{
                  "! " + folder.dir.file("broad.bmp") + " | " +
                  fillIn(msg::kBitmapNotFitting,
                         {folder.dir.file("broad.bmp"), fillIn(msg::kFrameBoxTooLarge, "1")})}));
    EXPECT_FALSE(view.okEnabled);
    EXPECT_EQ(readFile(folder.dir.file("x_u.grp")), kEarlier);
    EXPECT_EQ(folder.dir.names(), before);
}

// Index 0 black, then entries at equal distances: the lowest index wins, and a colour nearest
// to index 0 becomes transparent.
TEST(CompileJob, TrueColourTakesTheNearestColour) {
    Palette palette;
    palette.entries.fill(Palette::colour(255, 255, 255));
    palette.entries[0] = Palette::colour(0, 0, 0);
    palette.entries[1] = Palette::colour(200, 0, 0);
    palette.entries[2] = Palette::colour(0, 200, 0);
    palette.entries[3] = Palette::colour(200, 200, 200);
    ScratchDir dir;
    writeFile(dir.file("p.qbl"), std::string("p.grp p.bmp"));
    writeFile(dir.file("p.bmp"), bmp24({{{150, 150, 0}, {10, 10, 10}, {0, 190, 0}},
                                        {{190, 190, 190}, {250, 250, 250}, {210, 5, 0}}}));
    RecordingView view;
    ASSERT_EQ(compileSprite(view, {dir.file("p.qbl"), "", palette}), JobOutcome::finished);

    const ByteVector grp = readFile(dir.file("x_p.grp"));
    ASSERT_EQ(readSpriteHeader(grp), (SpriteHeader{1, 3, 2}));
    FrameCanvas canvas;
    decodeFrame(grp, *readFrameEntry(grp, 0), canvas);
    const int expected[2][3] = {{1, 0, 2}, {3, 4, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(canvas.at(x, y), expected[y][x]) << x << "," << y;
}

} // namespace
} // namespace pixmorph
