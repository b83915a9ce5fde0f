// Damaged sprites, bitmaps, lists and palettes given to pixmorph-cli and to the jobs the
// desktop runs. A refused input ends the command with status 1 and one line that names the
// file, and no file anywhere is created or changed (earlier outputs included); the desktop's
// job shows the same message. Where the formats define what a damaged file gives, the
// command succeeds with exactly that.
#include "cli_run.h"
#include "core/bmp_file.h"
#include "core/file_error.h"
#include "core/grp_format.h"
#include "core/messages.h"
#include "folder_snapshot.h"
#include "jobs/compile_job.h"
#include "jobs/export_job.h"
#include "jobs/recording_view.h"
#include "malformed_files.h"
#include "support/job_files.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <map>

namespace pixmorph {
namespace {

using test::jascColourLine;
using test::jascPalette;
using test::laidBitmap;
using test::laidSprite;
using test::soundBitmap;
using test::soundSprite;
using testing::readFile;
using testing::RecordingView;
using testing::ScratchDir;

enum class Command { exportSprite, info, compile };

using Inputs = std::map<std::string, ByteVector>; // file name in the input folder -> bytes

ByteVector bytesOf(const std::string& text) {
    return ByteVector(text.begin(), text.end());
}

// Where a case runs: the inputs in in/, the outputs to out/, which already holds what an
// earlier run wrote there.
struct Folders {
    ScratchDir root;
    std::string in = root.file("in");
    std::string out = root.file("out");
    Folders() {
        std::filesystem::create_directory(in);
        std::filesystem::create_directory(out);
        for (const char* earlier : {"s000.bmp", "s.qbl", "x_s.grp"})
            testing::writeFile(out + "/" + earlier, std::string("earlier output"));
    }
    std::string input(const std::string& name) const { return in + "/" + name; }
    std::string output(const std::string& name) const { return out + "/" + name; }
};

struct Refusal {
    std::string file;                                // the file the message names, in in/
    std::function<std::string(const Folders&)> text; // as the desktop shows it
    MessageIcon icon = MessageIcon::exclamation;
};

// What the formats define for the input: the command succeeds and its outputs hold this.
using DefinedOutcome = std::function<void(const Folders&)>;

struct MalformedCase {
    const char* name;
    Command command;
    std::string input; // the file the command is given, in in/
    Inputs files;
    std::optional<Refusal> refusal;
    DefinedOutcome defined;
    std::optional<std::string> palette = std::nullopt; // --palette, a file in in/
};

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// ---- Refusal texts -------------------------------------------------------------------------

Refusal naming(const std::string& file, std::string_view text) {
    return {file, [file, text](const Folders& f) { return fillIn(text, {f.input(file)}); }};
}

Refusal naming(const std::string& file, std::string_view text, std::string second) {
    return {file, [file, text, second](const Folders& f) {
                return fillIn(text, {f.input(file), second});
            }};
}

Refusal plain(const std::string& file, std::string_view view) {
    std::string text(view);
    return {file, [text](const Folders&) { return text; }};
}

Refusal notFound(const std::string& file) {
    return {file,
            [file](const Folders& f) {
                return fileErrorMessage(FileErrorCause::fileNotFound, f.input(file));
            },
            MessageIcon::stop};
}

Refusal dupeNotEarlier(std::size_t frame, const std::string& name) {
    return {
        "s.qbl", [frame, name](const Folders& f) {
            return fillIn(msg::kDupeNotEarlier, {f.input("s.qbl"), std::to_string(frame), name});
        }};
}

// ---- Inputs --------------------------------------------------------------------------------

ByteVector withU16(ByteVector file, std::size_t at, std::uint16_t value) {
    putU16(file, at, value);
    return file;
}

ByteVector withU32(ByteVector file, std::size_t at, std::uint32_t value) {
    putU32(file, at, value);
    return file;
}

ByteVector cut(ByteVector file, std::size_t length) {
    file.resize(length);
    return file;
}

// Frame 1's data offset in the sound sprite.
std::size_t secondFrameData() {
    return *readU32(soundSprite(), 6 + 8 + 4);
}

Inputs sprite(ByteVector bytes) {
    return {{"s.grp", std::move(bytes)}};
}

Inputs listed(ByteVector bitmap) {
    return {{"s.qbl", bytesOf("s.grp\r\nf.bmp\r\n")}, {"f.bmp", std::move(bitmap)}};
}

Inputs list(const std::string& text) {
    return {{"s.qbl", bytesOf(text)}, {"f.bmp", soundBitmap()}};
}

Inputs withPalette(const std::string& text) {
    return {{"s.grp", soundSprite()}, {"p.pal", bytesOf(text)}};
}

std::vector<std::string> jascLines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(jascColourLine(i));
    return lines;
}

// ---- Defined outcomes ----------------------------------------------------------------------

// The export's bitmap of frame 0 read back as rows of palette indices, from the top.
std::vector<std::vector<int>> exportedRows(const Folders& f, int width, int height) {
    IndexImage image;
    NearestColour nearest{Palette{}};
    const BmpReadResult read = readBmp(readFile(f.output("s000.bmp")), nearest, image);
    EXPECT_EQ(read.status, BmpReadStatus::ok);
    std::vector<std::vector<int>> rows(height, std::vector<int>(width));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y][x] = static_cast<int>(image.at(x, y));
    return rows;
}

// Palette entry i of the export's bitmap of frame 0, as red + 256 green + 65536 blue.
std::uint32_t exportedColour(const Folders& f, int i) {
    const ByteVector bitmap = readFile(f.output("s000.bmp"));
    const std::size_t at = 54 + 4 * static_cast<std::size_t>(i);
    return Palette::colour(bitmap.at(at + 2), bitmap.at(at + 1), bitmap.at(at));
}

// The compiled sprite's frame 0 as rows of pixels over the sprite's size.
std::vector<std::vector<int>> compiledRows(const Folders& f) {
    const ByteVector file = readFile(f.output("x_s.grp"));
    const SpriteHeader header = readSpriteHeader(file).value_or(SpriteHeader{});
    std::vector<std::vector<int>> rows(header.height, std::vector<int>(header.width));
    FrameCanvas canvas;
    if (const auto entry = readFrameEntry(file, 0)) {
        EXPECT_EQ(decodeFrame(file, *entry, canvas), DecodeStatus::complete);
    }
    for (int y = 0; y < header.height; ++y)
        for (int x = 0; x < header.width; ++x)
            rows[y][x] = canvas.at(x, y);
    return rows;
}

using Rows = std::vector<std::vector<int>>;

// ---- The cases -----------------------------------------------------------------------------

std::vector<MalformedCase> cases() {
    const std::size_t data1 = secondFrameData();
    return {
        // Sprites, exported.
        {"GrpEmptyFile",
         Command::exportSprite,
         "s.grp",
         sprite({}),
         naming("s.grp", msg::kGrpTooShort),
         {}},
        {"GrpHeaderCut",
         Command::exportSprite,
         "s.grp",
         sprite(cut(soundSprite(), 5)),
         naming("s.grp", msg::kGrpTooShort),
         {}},
        {"GrpFrameTableCut",
         Command::exportSprite,
         "s.grp",
         sprite(withU16(soundSprite(), 0, 60)),
         naming("s.grp", msg::kGrpTableCut),
         {}},
        {"GrpFrameCountWithoutTable",
         Command::exportSprite,
         "s.grp",
         sprite(cut(withU16(soundSprite(), 0, 65535), 6)),
         naming("s.grp", msg::kGrpTableCut),
         {}},
        {"GrpDataOffsetPastTheEnd",
         Command::exportSprite,
         "s.grp",
         sprite(withU32(soundSprite(), 6 + 8 + 4, 0xFFFFFFF0)),
         naming("s.grp", msg::kGrpFrameCut, "1"),
         {}},
        {"GrpRowOffsetsCut",
         Command::exportSprite,
         "s.grp",
         sprite(cut(soundSprite(), data1 + 3)),
         naming("s.grp", msg::kGrpFrameCut, "1"),
         {}},
        {"GrpRowOffsetPastTheEnd",
         Command::exportSprite,
         "s.grp",
         sprite(withU16(soundSprite(), data1 + 4, 0xFFFF)),
         naming("s.grp", msg::kGrpFrameCut, "1"),
         {}},
        {"GrpRunPastTheEndOfTheFile",
         Command::exportSprite,
         "s.grp",
         sprite(laidSprite(16, 8, {{0, 0, 4, 1, {{0x3F, 1, 2}}}})),
         naming("s.grp", msg::kGrpFrameCut, "0"),
         {}},
        {"GrpRowIdlingOnOpcodesThatDrawNothing",
         Command::exportSprite,
         "s.grp",
         sprite(laidSprite(16, 8, {{0, 0, 4, 1, {[] {
                                        ByteVector row(300, 0x00);
                                        row.insert(row.end(), {0x44, 7});
                                        return row;
                                    }()}}})),
         naming("s.grp", msg::kGrpFrameCut, "0"),
         {}},
        {"GrpFrameRightOfThePictureArea",
         Command::exportSprite,
         "s.grp",
         sprite(laidSprite(256, 8, {{250, 0, 10, 1, {{0x4A, 7}}}})),
         naming("s.grp", msg::kFrameOutsidePicture, "0"),
         {}},
        {"GrpFrameBelowThePictureArea",
         Command::exportSprite,
         "s.grp",
         sprite(laidSprite(8, 256, {{0, 250, 1, 10, std::vector<ByteVector>(10, {0x41, 7})}})),
         naming("s.grp", msg::kFrameOutsidePicture, "0"),
         {}},
        {"GrpSpriteTooLarge",
         Command::exportSprite,
         "s.grp",
         sprite(withU16(soundSprite(), 2, 300)),
         {{"s.grp",
           [](const Folders& f) {
               return fillIn(msg::kExportTooLarge, {f.input("s.grp"), "300", "8"});
           }}},
         {}},
        {"GrpFramesWithoutArea",
         Command::exportSprite,
         "s.grp",
         sprite(withU16(soundSprite(), 4, 0)),
         naming("s.grp", msg::kSpriteWithoutArea),
         {}},
        // Frames stored uncompressed, as some sprites are: their pixels read as row offsets
        // that lead past the end of the file.
        {"GrpUncompressedVariant",
         Command::exportSprite,
         "s.grp",
         sprite([] {
             ByteVector file = laidSprite(8, 4, {{0, 0, 8, 4, {}}});
             file.insert(file.end(), 32, 0x55);
             return file;
         }()),
         naming("s.grp", msg::kGrpFrameCut, "0"),
         {}},
        {"GrpNameInCapitals",
         Command::exportSprite,
         "s.GRP",
         {{"s.GRP", soundSprite()}},
         plain("s.GRP", msg::kNotGrp),
         {}},
        {"GrpLastRunPassesTheFrameWidth", Command::exportSprite, "s.grp",
         sprite(laidSprite(8, 2, {{1, 0, 3, 1, {{0x81, 0x44, 7}}}})), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(exportedRows(f, 8, 2),
                       (Rows{{0, 0, 7, 7, 7, 7, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}}));
         }},
        {"GrpInfoHeaderCut",
         Command::info,
         "s.grp",
         sprite(cut(soundSprite(), 3)),
         naming("s.grp", msg::kGrpTooShort),
         {}},
        {"GrpInfoFrameTableCut",
         Command::info,
         "s.grp",
         sprite(cut(soundSprite(), 6 + 8 + 3)),
         naming("s.grp", msg::kGrpTableCut),
         {}},

        // Bitmaps, compiled.
        {"BmpHeadersCut",
         Command::compile,
         "s.qbl",
         listed(cut(soundBitmap(), 30)),
         naming("f.bmp", msg::kBitmapTruncated),
         {}},
        {"BmpDataOffsetInsideTheHeaders",
         Command::compile,
         "s.qbl",
         listed(withU32(soundBitmap(), 10, 20)),
         naming("f.bmp", msg::kBitmapBadHeaders),
         {}},
        {"BmpDataOffsetPastTheEnd",
         Command::compile,
         "s.qbl",
         listed(withU32(soundBitmap(), 10, 5000)),
         naming("f.bmp", msg::kBitmapDataCut),
         {}},
        {"BmpNegativeWidth",
         Command::compile,
         "s.qbl",
         listed(withU32(soundBitmap(), 18, -4)),
         naming("f.bmp", msg::kBitmapBadHeaders),
         {}},
        {"BmpHugeWidth",
         Command::compile,
         "s.qbl",
         listed(withU32(soundBitmap(), 18, 100000)),
         naming("f.bmp", msg::kBitmapTooLarge),
         {}},
        {"BmpHugeNegativeHeight",
         Command::compile,
         "s.qbl",
         listed(withU32(soundBitmap(), 22, 0x80000000u)),
         naming("f.bmp", msg::kBitmapTooLarge),
         {}},
        {"BmpRleStreamCutInARow",
         Command::compile,
         "s.qbl",
         listed(laidBitmap(4, 3, 8, 1, {2, 5, 0, 0, 1})),
         naming("f.bmp", msg::kBitmapDataCut),
         {}},
        {"BmpRleAbsoluteRunCut",
         Command::compile,
         "s.qbl",
         listed(laidBitmap(4, 3, 8, 1, {0, 5, 1, 2})),
         naming("f.bmp", msg::kBitmapDataCut),
         {}},
        {"BmpRgbRowsCut",
         Command::compile,
         "s.qbl",
         listed(laidBitmap(4, 3, 24, 0, ByteVector(20, 0x40))),
         naming("f.bmp", msg::kBitmapDataCut),
         {}},
        {"BmpFourBitRunLength",
         Command::compile,
         "s.qbl",
         listed(laidBitmap(4, 3, 4, 2, {4, 0x11, 0, 1})),
         plain("f.bmp", msg::kUnsupportedBitmap),
         {}},
        {"BmpSixteenBitPixels",
         Command::compile,
         "s.qbl",
         listed(laidBitmap(2, 1, 16, 0, {1, 2, 3, 4})),
         plain("f.bmp", msg::kUnsupportedBitmap),
         {}},
        {"BmpZeroHeightIsAnEmptyPicture", Command::compile, "s.qbl",
         listed(withU32(soundBitmap(), 22, 0)), std::nullopt,
         [](const Folders& f) {
             const ByteVector grp = readFile(f.output("x_s.grp"));
             EXPECT_EQ(readSpriteHeader(grp), (SpriteHeader{1, 4, 0}));
         }},
        {"BmpRunPastTheRightEdge", Command::compile, "s.qbl",
         listed(laidBitmap(4, 2, 8, 1, {200, 5, 0, 0, 1, 3, 0, 1})), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(compiledRows(f), (Rows{{3, 0, 0, 0}, {5, 5, 5, 5}}));
         }},
        {"BmpDeltasPastTheEdges", Command::compile, "s.qbl",
         listed(laidBitmap(4, 2, 8, 1, {1, 6, 0, 2, 200, 0, 2, 9, 0, 0, 1, 3, 0, 2, 0, 40, 1, 8})),
         std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(compiledRows(f), (Rows{{3, 0, 0, 0}, {6, 0, 0, 0}}));
         }},
        {"BmpRleWithoutEndOfPicture", Command::compile, "s.qbl",
         listed(laidBitmap(2, 2, 8, 1, {2, 4, 0, 0, 1, 0, 1, 8, 0, 0})), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(compiledRows(f), (Rows{{0, 8}, {4, 4}}));
         }},

        // Lists, compiled.
        {"QblEmptyFile", Command::compile, "s.qbl", list(""), plain("s.qbl", msg::kListEmpty), {}},
        {"QblOnlyWhiteSpace",
         Command::compile,
         "s.qbl",
         list(" \r\n\t\r\n"),
         plain("s.qbl", msg::kListEmpty),
         {}},
        {"QblNameOver127Characters",
         Command::compile,
         "s.qbl",
         list("s.grp\r\n" + std::string(128, 'n') + ".bmp\r\n"),
         plain("s.qbl", std::string(msg::kListNameTooLong) + std::string(128, 'n') + ".bmp"),
         {}},
        {"QblRefusedFirstName",
         Command::compile,
         "s.qbl",
         list("QuillbrightBigUnit.grp\r\nf.bmp"),
         plain("s.qbl", msg::kUnsupportedList),
         {}},
        {"QblDupeWithoutNumber",
         Command::compile,
         "s.qbl",
         list("s.grp f.bmp dupe_of_sabc.bmp"),
         dupeNotEarlier(1, "dupe_of_sabc.bmp"),
         {}},
        {"QblDupeOfALaterFrame",
         Command::compile,
         "s.qbl",
         list("s.grp f.bmp dupe_of_s005.bmp"),
         dupeNotEarlier(1, "dupe_of_s005.bmp"),
         {}},
        {"QblDupeOfItself",
         Command::compile,
         "s.qbl",
         list("s.grp dupe_of_s000.bmp f.bmp"),
         dupeNotEarlier(0, "dupe_of_s000.bmp"),
         {}},
        {"QblDupeNumberOverflowing",
         Command::compile,
         "s.qbl",
         list("s.grp f.bmp dupe_of_s99999999999999999999.bmp"),
         dupeNotEarlier(1, "dupe_of_s99999999999999999999.bmp"),
         {}},
        {"QblGrpNameWithFolders",
         Command::compile,
         "s.qbl",
         list("../../escape.grp f.bmp"),
         naming("s.qbl", msg::kListGrpNameNotBare, "../../escape.grp"),
         {}},
        {"QblMoreFramesThanAGrpHolds",
         Command::compile,
         "s.qbl",
         list([] {
             std::string text = "s.grp";
             for (int i = 0; i < 65536; ++i)
                 text += "\r\nf.bmp";
             return text;
         }()),
         naming("s.qbl", msg::kListTooLong, "65536"),
         {}},
        // A blank splits a name: the list names the GRP "my" and the bitmap "unit.grp".
        {"QblNamesWithBlanks",
         Command::compile,
         "s.qbl",
         list("my unit.grp\r\nmy unit000.bmp\r\n"),
         notFound("unit.grp"),
         {}},
        {"QblMissingBitmap",
         Command::compile,
         "s.qbl",
         list("s.grp\r\nf.bmp\r\ng.bmp\r\n"),
         notFound("g.bmp"),
         {}},
        {"QblOtherExtension",
         Command::compile,
         "s.txt",
         {{"s.txt", bytesOf("s.grp f.bmp")}},
         plain("s.txt", msg::kNotQbl),
         {}},

        // Palettes, for an export.
        {"PaletteRawShort", Command::exportSprite, "s.grp",
         withPalette(std::string("\x01\x02\x03\x04\x05\x06\x07", 7)), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(exportedColour(f, 0), Palette::colour(1, 2, 3));
             EXPECT_EQ(exportedColour(f, 1), Palette::colour(4, 5, 6));
             EXPECT_EQ(exportedColour(f, 2), Palette::colour(7, 0, 0));
             EXPECT_EQ(exportedColour(f, 255), 0u);
         },
         "p.pal"},
        {"PaletteJascBadHeader",
         Command::exportSprite,
         "s.grp",
         withPalette(jascPalette("JASX-PAL", "0100", "256", jascLines(256))),
         plain("p.pal", msg::kPaletteUnknownRefused),
         {},
         "p.pal"},
        {"PaletteJascNot256",
         Command::exportSprite,
         "s.grp",
         withPalette(jascPalette("JASC-PAL", "0100", " 256", jascLines(256))),
         plain("p.pal", msg::kPaletteNot256Refused),
         {},
         "p.pal"},
        // A palette that ends early repeats its last colour line.
        {"PaletteJascFewerLines", Command::exportSprite, "s.grp",
         withPalette(jascPalette("JASC-PAL", "0100", "256", jascLines(100))), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(exportedColour(f, 99), Palette::colour(99, 156, 49));
             EXPECT_EQ(exportedColour(f, 255), Palette::colour(99, 156, 49));
         },
         "p.pal"},
        // Only the low 8 bits of a number count; 10^20 - 1 leaves 255.
        {"PaletteJascNumbersOverflowing", Command::exportSprite, "s.grp",
         withPalette(jascPalette("JASC-PAL", "0100", "256",
                                 std::vector<std::string>(256, "99999999999999999999 256 -1"))),
         std::nullopt,
         [](const Folders& f) { EXPECT_EQ(exportedColour(f, 7), Palette::colour(255, 0, 255)); },
         "p.pal"},
        {"PaletteNameInCapitals",
         Command::exportSprite,
         "s.grp",
         {{"s.grp", soundSprite()}, {"p.PAL", ByteVector(768)}},
         plain("p.PAL", msg::kPaletteNotRead),
         {},
         "p.PAL"},
    };
}

std::vector<std::string> argumentsFor(const MalformedCase& c, const Folders& f) {
    switch (c.command) {
    case Command::info:
        return {"info", f.input(c.input)};
    case Command::exportSprite:
    case Command::compile: {
        std::vector<std::string> args{c.command == Command::compile ? "compile" : "export",
                                      "--output-dir", f.out};
        if (c.palette)
            args.insert(args.end(), {"--palette", f.input(*c.palette)});
        args.push_back(f.input(c.input));
        return args;
    }
    }
    return {};
}

// The job the desktop runs for the case, with the messages its window showed.
std::optional<std::vector<std::string>> desktopMessages(const MalformedCase& c, const Folders& f) {
    if (c.command == Command::info || c.palette)
        return std::nullopt; // the preview and Load Palette are the desktop's own commands
    RecordingView view;
    if (c.command == Command::exportSprite)
        RunExport(view, ExportInput{f.input(c.input), f.out, Palette{}});
    else
        compileSprite(view, CompileInput{f.input(c.input), f.out, Palette{}});
    return view.messages;
}

void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << c.name;
}

class MalformedInput : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedInput, IsRefusedOrGivesWhatTheFormatDefines) {
    const MalformedCase& c = GetParam();
    Folders f;
    for (const auto& [name, bytes] : c.files)
        testing::writeFile(f.input(name), bytes);
    const test::FolderSnapshot before = test::snapshotOf(f.root.path());

    const test::CliRun run = test::runCli(argumentsFor(c, f));
    if (c.refusal) {
        const std::string file = f.input(c.refusal->file);
        const std::string text = c.refusal->text(f);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, file + ": " + oneLine(text) + "\n");
        EXPECT_EQ(test::snapshotOf(f.root.path()), before) << "a refused input changed files";

        if (c.command == Command::compile && !c.input.ends_with(".qbl"))
            return; // the compile window refuses such a list before any job runs
        if (const auto messages = desktopMessages(c, f)) {
            const char* icon = c.refusal->icon == MessageIcon::stop ? "stop " : "! ";
            EXPECT_EQ(*messages, std::vector<std::string>{icon + file + " | " + text});
            EXPECT_EQ(test::snapshotOf(f.root.path()), before);
        }
    } else {
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        c.defined(f);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedInput, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pixmorph
