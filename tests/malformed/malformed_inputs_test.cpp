// Damaged and hostile inputs refused by pixmorph-cli with status 1 and one line naming the file,
// nothing anywhere created or changed (earlier outputs included); the desktop says the same.
#include "app/archive_commands.h"
#include "app/converter_state.h"
#include "app/fakes.h"
#include "app/job_windows.h"
#include "app/load_palette.h"
#include "archive/archive_library.h"
#include "cli_run.h"
#include "core/core_test_files.h"
#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/messages.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using test::bytesOf;
using test::handLaidBmp;
using test::handLaidSprite;
using testing::ScratchDir;

enum class Command { exportSprite, exportWithPalette, info, compile, list, extract };
using Inputs = std::vector<std::pair<std::string, ByteVector>>; // the first is the input

struct MalformedCase {
    const char* name;
    Command command;
    Inputs files;
    std::string file; // the one the message names (for an extraction: the entry extracted)
    std::string_view text;
    std::string detail2 = {}, detail3 = {};
    std::string_view desktop = {}; // for a palette or an archive list, if any
    MessageIcon icon = MessageIcon::exclamation;
    bool overTheCap = false; // the file named grows (sparse) past the most the program reads
};

// The inputs in in/, the outputs to out/, which holds what an earlier run wrote there.
struct Folders {
    ScratchDir root;
    std::string in = root.file("in"), out = root.file("out");
    Folders() {
        std::filesystem::create_directories(out + "/unit");
        std::filesystem::create_directory(in);
        for (const char* earlier : {"s000.bmp", "s.qbl", "x_s.grp", "unit/s.grp"})
            testing::writeFile(out + "/" + earlier, std::string("earlier output"));
    }
    std::string input(const std::string& name) const { return in + "/" + name; }
};

// clang-format off
std::string named(const MalformedCase& c, const Folders& f) { return c.command == Command::extract ? c.file : f.input(c.file); }
std::string expectedText(const MalformedCase& c, const Folders& f) { return fillIn(c.text, {named(c, f), c.detail2, c.detail3}); }
void PrintTo(const MalformedCase& c, std::ostream* out) { *out << c.name; }
// A 16 x 8 sprite of two frames, whose second frame is drawn by every kind of opcode.
ByteVector soundSprite() { return handLaidSprite(16, 8, {{1, 1, 3, 2, {{0x43, 7}, {0x01, 9, 0x82}}}, {2, 3, 6, 3, {{0x82, 0x43, 7, 0x01, 9}, {0x03, 1, 2, 3, 0x83}, {0x86}}}}); }
// A 4 x 3 RLE8 bitmap: rows 1 2 3 4 / 0 5 5 0 / 9 9 9 9 from the top, the top one absolute.
ByteVector soundBitmap() { return handLaidBmp(4, 3, 8, 1, {4, 9, 0, 0, 1, 0, 2, 5, 1, 0, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1}); }
// clang-format on

// An archive of the sound sprite, a file of many sectors (damaged at its first sector's
// compression byte, past a table of 11 offsets) and files under hostile names, and its list.
std::pair<ByteVector, std::string> soundArchive() {
    std::vector<testing::ArchivedFile> files = {{"unit\\s.grp", soundSprite()},
                                                {"unit\\big.grp", testing::sampleBytes(40000, 1)}};
    for (const char* hostile : {"..\\escape.grp", "u/s.grp"})
        files.push_back({hostile, testing::sampleBytes(100, 3)});
    ScratchDir folder;
    const std::string path = folder.file("a.mpq");
    EXPECT_TRUE(testing::writeArchive(path, files));
    testing::overwriteBytes(path, testing::storedOffset(path, "unit\\big.grp") + 44, "\x12");
    std::string names;
    for (const auto& file : files)
        names += file.name + "\r\n";
    return {testing::readFile(path), names};
}

std::vector<MalformedCase> allCases() {
    const auto e = Command::exportSprite, c = Command::compile, l = Command::list,
               x = Command::extract, p = Command::exportWithPalette;
    const ByteVector grp = soundSprite(), bmp = soundBitmap();
    const auto [mpq, names] = soundArchive();
    const auto stop = MessageIcon::stop;
    // clang-format off
    const std::size_t data1 = *readU32(grp, 6 + 8 + 4); // frame 1's data offset
    ByteVector idling(302, 0x00); // 300 of them, then a run of four
    idling[300] = 0x44, idling[301] = 7;
    std::string tooManyFrames = "s.grp";
    for (int i = 0; i < 65536; ++i) tooManyFrames += "\r\nf.bmp";
    const std::string longName = std::string(128, 'n') + ".bmp";
    static const std::string tooLong = std::string(msg::kListNameTooLong) + longName;
    // A JASC palette of 256 colour lines under the given header.
    const auto jasc = [](std::string text) { for (int i = 0; i < 256; ++i) text += std::to_string(i) + " 1 2\r\n"; return text; };
    const auto with16 = [](ByteVector f, std::size_t at, std::uint16_t v) { return putU16(f, at, v), f; };
    const auto with32 = [](ByteVector f, std::size_t at, std::uint32_t v) { return putU32(f, at, v), f; };
    const auto cut = [](ByteVector f, std::size_t length) { return f.resize(length), f; };
    const auto sprite = [](ByteVector bytes) { return Inputs{{"s.grp", std::move(bytes)}}; };
    const auto listed = [](ByteVector bitmap) { return Inputs{{"s.qbl", bytesOf("s.grp\r\nf.bmp\r\n")}, {"f.bmp", std::move(bitmap)}}; };
    const auto list = [](std::string_view text) { return Inputs{{"s.qbl", bytesOf(text)}, {"f.bmp", soundBitmap()}}; };
    const auto paletted = [](const std::string& name, std::string_view text) { return Inputs{{"s.grp", soundSprite()}, {name, bytesOf(text)}}; };
    const auto archive = [&](ByteVector bytes, std::string_view list = {}) { return Inputs{{"a.mpq", std::move(bytes)}, {"names.txt", bytesOf(list.empty() ? names : list)}}; };
    return {
        {"GrpHeaderCut", e, sprite(cut(grp, 5)), "s.grp", msg::kGrpTooShort},
        {"GrpFrameTableCut", e, sprite(with16(grp, 0, 60)), "s.grp", msg::kGrpTableCut},
        {"GrpDataOffsetPastTheEnd", e, sprite(with32(grp, 6 + 8 + 4, 0xFFFFFFF0)), "s.grp", msg::kGrpFrameCut, "1"},
        {"GrpRowOffsetsCut", e, sprite(cut(grp, data1 + 3)), "s.grp", msg::kGrpFrameCut, "1"},
        {"GrpRunPastTheEndOfTheFile", e, sprite(handLaidSprite(16, 8, {{0, 0, 4, 1, {{0x3F, 1, 2}}}})), "s.grp", msg::kGrpFrameCut, "0"},
        {"GrpRowIdlingOnOpcodesThatDrawNothing", e, sprite(handLaidSprite(16, 8, {{0, 0, 4, 1, {idling}}})), "s.grp", msg::kGrpFrameIdling, "0"},
        {"GrpFrameOutsideTheSprite", e, sprite(handLaidSprite(16, 16, {{200, 0, 4, 1, {{0x44, 7}}}})), "s.grp", msg::kFrameOutsideSprite, "0", "16 x 16"},
        {"GrpFrameRightOfThePictureArea", e, sprite(handLaidSprite(256, 8, {{250, 0, 10, 1, {{0x4A, 7}}}})), "s.grp", msg::kFrameOutsidePicture, "0"},
        {"GrpSpriteTooLarge", e, sprite(with16(grp, 2, 300)), "s.grp", msg::kExportTooLarge, "300", "8"},
        {"GrpFramesWithoutArea", e, sprite(with16(grp, 4, 0)), "s.grp", msg::kSpriteWithoutArea},
        {"GrpNameInCapitals", e, {{"s.GRP", grp}}, "s.GRP", msg::kNotGrp},
        {"GrpInfoFrameTableCut", Command::info, sprite(cut(grp, 6 + 8 + 3)), "s.grp", msg::kGrpTableCut},
        {"BmpHeadersCut", c, listed(cut(bmp, 30)), "f.bmp", msg::kBitmapTruncated},
        {"BmpDataOffsetInsideTheHeaders", c, listed(with32(bmp, 10, 20)), "f.bmp", msg::kBitmapBadHeaders},
        {"BmpDataOffsetPastTheEnd", c, listed(with32(bmp, 10, 5000)), "f.bmp", msg::kBitmapDataCut},
        {"BmpHugeNegativeHeight", c, listed(with32(bmp, 22, 0x80000000u)), "f.bmp", msg::kBitmapTooLarge},
        {"BmpRleStreamCutInARow", c, listed(handLaidBmp(4, 3, 8, 1, {2, 5, 0, 0, 1})), "f.bmp", msg::kBitmapDataCut},
        {"BmpFourBitRunLength", c, listed(handLaidBmp(4, 3, 4, 2, {4, 0x11, 0, 1})), "f.bmp", msg::kUnsupportedBitmap},
        {"BmpFrameBeyondWhatAFrameCanHold", c, listed(handLaidBmp(300, 1, 8, 1, {0, 2, 255, 0, 0, 2, 2, 0, 1, 7, 0, 1})), "f.bmp", msg::kBitmapNotFitting, grpWriteErrorMessage(GrpWriteError::offsetTooLarge, 0)},
        {"BmpSixteenBitsWithOtherMasks", c, listed(with32(handLaidBmp(4, 1, 16, 3, ByteVector(20, 0x0F)), 10, 66)), "f.bmp", msg::kUnsupportedBitmap},
        {"QblEmptyFile", c, list(""), "s.qbl", msg::kListEmpty},
        {"QblNameOver127Characters", c, list("s.grp\r\n" + longName + "\r\n"), "s.qbl", tooLong},
        {"QblRefusedFirstName", c, list("QuillbrightBigUnit.grp\r\nf.bmp"), "s.qbl", msg::kUnsupportedList},
        {"QblDupeOfALaterFrame", c, list("s.grp f.bmp dupe_of_s005.bmp"), "s.qbl", msg::kDupeNotEarlier, "1", "dupe_of_s005.bmp"},
        {"QblGrpNameWithFolders", c, list("../../escape.grp f.bmp"), "s.qbl", msg::kListGrpNameNotBare, "../../escape.grp"},
        {"QblMoreFramesThanAGrpHolds", c, list(tooManyFrames), "s.qbl", msg::kListTooLong, "65536"},
        {"QblMissingBitmap", c, list("s.grp\r\nf.bmp\r\ng.bmp\r\n"), "g.bmp", msg::kFileErrors[2], {}, {}, {}, stop},
        {"QblBitmapNameWithTerminalEscapes", c, list("s.grp\r\nf.bmp\r\ng\x1b]0;owned\x07\x1b[2J.bmp\r\n"), "g\x1b]0;owned\x07\x1b[2J.bmp", msg::kFileErrors[2], {}, {}, {}, stop},
        {"QblOtherExtension", c, {{"s.txt", bytesOf("s.grp f.bmp")}}, "s.txt", msg::kNotQbl},
        {"PaletteJascBadHeader", p, paletted("p.pal", jasc("JASX-PAL\r\n0100\r\n256\r\n")), "p.pal", msg::kPaletteUnknownRefused, {}, {}, msg::kPaletteUnknown},
        {"PaletteJascNot256", p, paletted("p.pal", jasc("JASC-PAL\r\n0100\r\n 256\r\n")), "p.pal", msg::kPaletteNot256Refused, {}, {}, msg::kPaletteNot256},
        {"PaletteRawEmpty", p, paletted("p.pal", ""), "p.pal", msg::kPaletteShortRefused, "0"},
        {"PaletteRawShort", p, paletted("p.pal", std::string(767, '\x20')), "p.pal", msg::kPaletteShortRefused, "767"},
        {"PaletteNameInCapitals", p, paletted("p.PAL", std::string(768, '\0')), "p.PAL", msg::kPaletteNotRead},
        {"GrpOverTheSizeCap", e, sprite(grp), "s.grp", msg::kFileTooLarge, {}, {}, {}, stop, true},
        {"NameListOverTheSizeCap", l, archive(mpq), "names.txt", msg::kFileTooLarge, {}, {}, msg::kArchiveFailed, {}, true},
        {"ArchiveEmptyFile", l, archive({}), "a.mpq", msg::kArchiveNotOpened, {}, {}, msg::kArchiveFailed},
        {"ArchiveCutInHalf", l, archive(cut(mpq, mpq.size() / 2)), "a.mpq", msg::kArchiveNotOpened, {}, {}, msg::kArchiveFailed},
        {"ArchiveUnknownCompression", x, archive(mpq), "unit\\big.grp", msg::kArchiveReadFailed, {}, {}, {}, stop},
        {"NameListMissing", l, {{"a.mpq", mpq}}, "names.txt", msg::kFileErrors[2]}, // the desktop takes the shipped list
        {"NameListWithoutFinalLineEnd", x, archive(mpq, "unit\\s.grp"), "unit\\s.grp", msg::kArchiveFileNotFound},
        {"HostileNameClimbing", x, archive(mpq), "..\\escape.grp", msg::kArchiveNameDotLevel},
        {"HostileNameWithSlashes", x, archive(mpq), "u/s.grp", msg::kArchiveNameSlash},
    };
    // clang-format on
}

std::vector<std::string> argumentsFor(const MalformedCase& c, const Folders& f) {
    const std::string input = f.input(c.files[0].first), names = f.input("names.txt");
    switch (c.command) {
    case Command::info:
        return {"info", input};
    case Command::list:
        return {"list", "--names", names, input};
    case Command::extract:
        return {"extract", "--names", names, "--output-dir", f.out, input, c.file};
    case Command::exportWithPalette:
        return {"export", "--output-dir", f.out, "--palette", f.input(c.files[1].first), input};
    default:
        return {c.command == Command::compile ? "compile" : "export", "--output-dir", f.out, input};
    }
}

// The last message the desktop showed for the same input, as "icon text": Load Palette at
// start-up on the stored palette; Locate Archive and, for an extraction, the pick of the entry
// (not offered when the name list does not find it); or the job in its window.
std::string desktopMessage(const MalformedCase& c, const Folders& f) {
    ConverterState state;
    testing::RecordingWindow window;
    if (c.command == Command::exportWithPalette) {
        state.locations.paletteLocation = f.input(c.files[1].first);
        loadPalette(state, window.frameWindow(), window);
    } else if (c.command == Command::list || c.command == Command::extract) {
        ArchiveLibrary library(makeStormBackend());
        state.locations.archivePath = f.input(c.files[0].first);
        state.locations.fileListPath = f.input("names.txt");
        state.locations.outputDir = f.out;
        locateArchive(state, ArchiveSource::stored, window, window, window, library);
        const auto offered = std::ranges::find(window.listItems, c.file);
        window.selected = static_cast<int>(offered - window.listItems.begin());
        if (c.command == Command::extract && offered != window.listItems.end())
            extractChosenFile(state, window, window.frameWindow(),
                              library);      // the answer to Save is Yes
    } else if (c.command != Command::info) { // messages as "icon | text"
        testing::RecordingJobWindow jobWindow;
        jobWindow.pickerAnswer = f.input(c.files[0].first);
        const auto run = [&](JobWindowLogic logic) {
            logic.initialise();
            testing::runJobHere(logic);
        };
        if (c.command == Command::exportSprite)
            run(JobWindowLogic(ExportWindowSetup{f.out, true, jobWindow.pickerAnswer, Palette{}},
                               jobWindow));
        else
            run(JobWindowLogic(CompileWindowSetup{f.out, Palette{}}, jobWindow));
        return jobWindow.messages.empty() ? "" : jobWindow.messages.back();
    }
    const auto& shown = window.messages;
    return shown.empty()
               ? ""
               : (shown.back().icon == MessageIcon::stop ? "stop " : "! ") + shown.back().text;
}

class MalformedInput : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedInput, IsRefusedWithOneLineAndNothingChanged) {
    const MalformedCase& c = GetParam();
    Folders f;
    for (const auto& [name, bytes] : c.files)
        testing::writeFile(f.input(name), bytes);
    if (c.overTheCap)
        std::filesystem::resize_file(f.input(c.file), kMaxWholeFileSize + 1);
    const testing::FolderSnapshot before = testing::snapshotOf(f.root.path());

    const test::CliRun run = test::runCli(argumentsFor(c, f));
    // The file is named once: by the text, or else before it. Control characters show escaped.
    std::string line = c.text.find("%1") != std::string_view::npos
                           ? expectedText(c, f)
                           : named(c, f) + ": " + expectedText(c, f);
    std::ranges::replace(line, '\n', ' ');
    for (const auto& [raw, shown] : {std::pair{"\x1b", "\\x1b"}, {"\x07", "\\x07"}})
        for (auto at = line.find(raw); at != std::string::npos; at = line.find(raw, at))
            line.replace(at, 1, shown);
    EXPECT_EQ(run.exitCode, 1) << "signal " << run.signal;
    EXPECT_EQ(run.err, line + "\n");

    const bool job = c.command == Command::exportSprite || c.command == Command::compile;
    std::string desktop = std::string(c.icon == MessageIcon::stop ? "stop " : "! ") +
                          (job ? "| " : "") + expectedText(c, f);
    if (c.command == Command::exportWithPalette || c.command == Command::list)
        desktop = c.desktop.empty() ? "" : "! " + std::string(c.desktop);
    if (c.command == Command::info || c.name == std::string_view("NameListWithoutFinalLineEnd"))
        desktop = "";
    EXPECT_EQ(desktopMessage(c, f), desktop);
    EXPECT_EQ(testing::snapshotOf(f.root.path()), before) << "a refused input changed files";
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedInput, ::testing::ValuesIn(allCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pixmorph
