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
    const auto width = static_cast<std::uint32_t>(rows[0].size());
    ByteVector data;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        for (const Rgb& rgb : *row)
            data.insert(data.end(), {rgb[2], rgb[1], rgb[0]});
        data.resize((data.size() + 3) / 4 * 4);
    }
    ByteVector file{'B', 'M'};
    for (std::uint32_t field :
         {54 + std::uint32_t(data.size()), 0u, 54u, 40u, width, std::uint32_t(rows.size()),
          1u | 24u << 16, compression, std::uint32_t(data.size()), 0u, 0u, 0u, 0u})
        appendU32(file, field);
    file.insert(file.end(), data.begin(), data.end());
    return file;
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
        writeFile(dir.file("wide.bmp"), bmp24({std::vector<Rgb>(300, kWhite)}));
        std::vector<Rgb> broad(256, kBlack);
        broad.front() = broad.back() = kWhite; // a box of 256 columns
        writeFile(dir.file("broad.bmp"), bmp24({broad}));
        const ByteVector whole = bmp24({{kWhite, kWhite}, {kWhite, kWhite}});
        writeFile(dir.file("cut.bmp"), ByteVector(whole.begin(), whole.end() - 5));
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

// Every refusal names its file with the exclamation icon (a file that cannot be read: stop)
// and leaves the earlier GRP as it was.
TEST(CompileJob, RefusalsLeaveTheEarlierGrp) {
    std::string tooMany = "u.grp u000.bmp";
    for (int i = 0; i < 65535; ++i)
        tooMany += " dupe_of_u000.bmp";
    const struct {
        std::string list;
        std::string file; // the file the message concerns
        std::string textPart;
    } cases[] = {
        {" \r\n\t", "u.qbl", "names no GRP"},
        {"u.grp " + std::string(128, 'n'), "u.qbl", std::string(128, 'n')},
        {"../u.grp u000.bmp", "u.qbl", "../u.grp"},
        {"u.grp u000.bmp dupe_of_u002.bmp u001.bmp", "u.qbl", "dupe_of_u002.bmp"},
        {tooMany, "u.qbl", "65536"},
        {"u.grp wide.bmp", "wide.bmp", "wider or taller than 256"},
        {"u.grp broad.bmp", "broad.bmp", "Frame 0 is too large"},
        {"u.grp cut.bmp", "cut.bmp", "ends before"},
        {"u.grp u000.bmp gone.bmp", "gone.bmp", "gone.bmp was not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list.substr(0, 60));
        ListFolder folder(c.list);
        const auto before = folder.dir.names();
        RecordingView view;
        EXPECT_EQ(compileSprite(view, {folder.dir.file("u.qbl"), "", Palette()}),
                  JobOutcome::failed);
        ASSERT_EQ(view.messages.size(), 1u);
        const std::string icon = c.file == "gone.bmp" ? "stop " : "! ";
        EXPECT_TRUE(view.messages[0].starts_with(icon + folder.dir.file(c.file) + " | "))
            << view.messages[0];
        EXPECT_NE(view.messages[0].find(c.textPart), std::string::npos) << view.messages[0];
        EXPECT_EQ(view.status, "Compiling GRP.");
        EXPECT_FALSE(view.okEnabled);
        EXPECT_EQ(readFile(folder.dir.file("x_u.grp")), kEarlier);
        EXPECT_EQ(folder.dir.names(), before);
    }
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
