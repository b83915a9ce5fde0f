// Damaged and hostile inputs given to pixmorph-cli and to the desktop's logic: sprites,
// bitmaps, lists, palettes, name lists and archives. A refused input ends the command with
// status 1 and one line that names the file, and no file anywhere is created or changed
// (earlier outputs included); the desktop shows its message where it has one. Where the
// formats define what a damaged file gives, the command succeeds with exactly that.
#include "app/archive_commands.h"
#include "app/converter_state.h"
#include "app/fakes.h"
#include "app/job_windows.h"
#include "app/load_palette.h"
#include "app/show_frame.h"
#include "cli_run.h"
#include "core/bmp_file.h"
#include "core/core_test_files.h"
#include "core/grp_format.h"
#include "core/messages.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using test::handLaidBmp;
using test::handLaidSprite;
using testing::readFile;
using testing::ScratchDir;

enum class Command { exportSprite, exportWithPalette, info, compile, list, extract };

using Inputs = std::vector<std::pair<std::string, ByteVector>>; // the first is the input

// Where a case runs: the inputs in in/, the outputs to out/, which already holds what an
// earlier run wrote there.
struct Folders {
    ScratchDir root;
    std::string in = root.file("in");
    std::string out = root.file("out");
    Folders() {
        std::filesystem::create_directories(out + "/unit");
        std::filesystem::create_directory(in);
        for (const char* earlier : {"s000.bmp", "s.qbl", "x_s.grp", "unit/s.grp"})
            testing::writeFile(out + "/" + earlier, std::string("earlier output"));
    }
    std::string input(const std::string& name) const { return in + "/" + name; }
    std::string output(const std::string& name) const { return out + "/" + name; }
};

// The file a refusal names (for an extraction: the archive entry, which is also the one
// extracted) and its message, %1 being the file's path and %2, %3 the details.
struct Refusal {
    std::string file;
    std::string text;
    std::string detail2, detail3;
    MessageIcon icon = MessageIcon::exclamation;
};

Refusal R(std::string file, std::string_view text, std::string detail2 = {},
          std::string detail3 = {}, MessageIcon icon = MessageIcon::exclamation) {
    return {std::move(file), std::string(text), std::move(detail2), std::move(detail3), icon};
}

Refusal notFound(std::string file) {
    return R(std::move(file), msg::kFileErrors[2], {}, {}, MessageIcon::stop);
}

struct MalformedCase {
    const char* name;
    Command command;
    Inputs files;
    std::optional<Refusal> refusal;
    std::function<void(const Folders&)> defined = {}; // what the outputs hold otherwise
    std::string_view desktop = {};                    // what Load Palette shows, if anything
};

std::string named(const MalformedCase& c, const Folders& f) {
    return c.command == Command::extract ? c.refusal->file : f.input(c.refusal->file);
}

std::string expectedText(const MalformedCase& c, const Folders& f) {
    const Refusal& r = *c.refusal;
    return fillIn(r.text, {named(c, f), r.detail2, r.detail3});
}

// ---- Inputs --------------------------------------------------------------------------------

ByteVector bytesOf(std::string_view text) {
    return ByteVector(text.begin(), text.end());
}

ByteVector with16(ByteVector file, std::size_t at, std::uint16_t value) {
    putU16(file, at, value);
    return file;
}

ByteVector with32(ByteVector file, std::size_t at, std::uint32_t value) {
    putU32(file, at, value);
    return file;
}

ByteVector cut(ByteVector file, std::size_t length) {
    file.resize(length);
    return file;
}

ByteVector overwritten(ByteVector file, std::size_t at, std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    return file;
}

// A 16 x 8 sprite of two frames, whose second frame is drawn by every kind of opcode.
ByteVector soundSprite() {
    return handLaidSprite(
        16, 8,
        {{1, 1, 3, 2, {{0x43, 7}, {0x01, 9, 0x82}}},
         {2, 3, 6, 3, {{0x82, 0x43, 7, 0x01, 9}, {0x03, 1, 2, 3, 0x83}, {0x86}}}});
}

// A 4 x 3 RLE8 bitmap: rows 1 2 3 4 / 0 5 5 0 / 9 9 9 9 from the top, the top one absolute.
ByteVector soundBitmap() {
    return handLaidBmp(4, 3, 8, 1, {4, 9, 0, 0, 1, 0, 2, 5, 1, 0, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1});
}

// A JASC palette of 256 colour lines under the given first and third header lines.
std::string jasc(const std::string& first, const std::string& count) {
    std::string text = first + "\r\n0100\r\n" + count + "\r\n";
    for (int i = 0; i < 256; ++i)
        text += std::to_string(i) + " 1 2\r\n";
    return text;
}

Inputs sprite(ByteVector bytes) {
    return {{"s.grp", std::move(bytes)}};
}

Inputs listed(ByteVector bitmap) {
    return {{"s.qbl", bytesOf("s.grp\r\nf.bmp\r\n")}, {"f.bmp", std::move(bitmap)}};
}

Inputs list(std::string_view text) {
    return {{"s.qbl", bytesOf(text)}, {"f.bmp", soundBitmap()}};
}

Inputs paletted(const std::string& name, std::string_view text) {
    return {{"s.grp", soundSprite()}, {name, bytesOf(text)}};
}

// An archive of the sound sprite, a file of many sectors and files under hostile names, with
// where the many-sector file's data starts.
struct SoundArchive {
    ByteVector bytes;
    std::size_t bigFileData = 0;
    std::string names; // the name list of every file in it
};

const SoundArchive& soundArchive() {
    static const SoundArchive archive = [] {
        std::vector<testing::ArchivedFile> files = {
            {"unit\\s.grp", soundSprite()}, {"unit\\big.grp", testing::sampleBytes(40000, 1)}};
        for (const char* hostile : {"..\\escape.grp", "C:\\drive.grp", "\\root.grp", "u/s.grp"})
            files.push_back({hostile, testing::sampleBytes(100, 3)});
        ScratchDir folder;
        const std::string path = folder.file("a.mpq");
        SoundArchive made;
        EXPECT_TRUE(testing::writeArchive(path, files));
        made.bytes = readFile(path);
        made.bigFileData = testing::storedOffset(path, "unit\\big.grp");
        for (const auto& file : files)
            made.names += file.name + "\r\n";
        return made;
    }();
    return archive;
}

Inputs archive(ByteVector bytes, std::string names = soundArchive().names) {
    return {{"a.mpq", std::move(bytes)}, {"names.txt", bytesOf(names)}};
}

// ---- Defined outcomes ----------------------------------------------------------------------

// Palette entry i of the export's bitmap of frame 0.
std::uint32_t exportedColour(const Folders& f, int i) {
    const ByteVector bitmap = readFile(f.output("s000.bmp"));
    const std::size_t at = 54 + 4 * static_cast<std::size_t>(i);
    return Palette::colour(bitmap.at(at + 2), bitmap.at(at + 1), bitmap.at(at));
}

// ---- The cases -----------------------------------------------------------------------------

std::vector<MalformedCase> allCases() {
    const auto e = Command::exportSprite, c = Command::compile, l = Command::list,
               x = Command::extract, p = Command::exportWithPalette;
    const ByteVector grp = soundSprite(), bmp = soundBitmap();
    const std::size_t data1 = *readU32(grp, 6 + 8 + 4); // frame 1's data offset
    ByteVector idling(302, 0x00);                       // 300 of them, then a run of four
    idling[300] = 0x44;
    idling[301] = 7;
    std::string tooManyFrames = "s.grp";
    for (int i = 0; i < 65536; ++i)
        tooManyFrames += "\r\nf.bmp";
    const std::string longName = std::string(128, 'n') + ".bmp";
    const std::string tooLong = std::string(msg::kListNameTooLong) + longName;
    const std::string overflowing = "dupe_of_s99999999999999999999.bmp";
    const SoundArchive& sound = soundArchive();
    const ByteVector& mpq = sound.bytes;
    // clang-format off
    return {
        {"GrpHeaderCut", e, sprite(cut(grp, 5)), R("s.grp", msg::kGrpTooShort)},
        {"GrpFrameTableCut", e, sprite(with16(grp, 0, 60)), R("s.grp", msg::kGrpTableCut)},
        {"GrpDataOffsetPastTheEnd", e, sprite(with32(grp, 6 + 8 + 4, 0xFFFFFFF0)), R("s.grp", msg::kGrpFrameCut, "1")},
        {"GrpRowOffsetsCut", e, sprite(cut(grp, data1 + 3)), R("s.grp", msg::kGrpFrameCut, "1")},
        {"GrpRowOffsetPastTheEnd", e, sprite(with16(grp, data1 + 4, 0xFFFF)), R("s.grp", msg::kGrpFrameCut, "1")},
        {"GrpRunPastTheEndOfTheFile", e, sprite(handLaidSprite(16, 8, {{0, 0, 4, 1, {{0x3F, 1, 2}}}})), R("s.grp", msg::kGrpFrameCut, "0")},
        {"GrpRowIdlingOnOpcodesThatDrawNothing", e, sprite(handLaidSprite(16, 8, {{0, 0, 4, 1, {idling}}})), R("s.grp", msg::kGrpFrameIdling, "0")},
        {"GrpFrameRightOfThePictureArea", e, sprite(handLaidSprite(256, 8, {{250, 0, 10, 1, {{0x4A, 7}}}})), R("s.grp", msg::kFrameOutsidePicture, "0")},
        {"GrpFrameBelowThePictureArea", e, sprite(handLaidSprite(8, 256, {{0, 250, 1, 10, std::vector<ByteVector>(10, {0x41, 7})}})), R("s.grp", msg::kFrameOutsidePicture, "0")},
        {"GrpSpriteTooLarge", e, sprite(with16(grp, 2, 300)), R("s.grp", msg::kExportTooLarge, "300", "8")},
        {"GrpFramesWithoutArea", e, sprite(with16(grp, 4, 0)), R("s.grp", msg::kSpriteWithoutArea)},
        {"GrpNameInCapitals", e, {{"s.GRP", grp}}, R("s.GRP", msg::kNotGrp)},
        {"GrpInfoFrameTableCut", Command::info, sprite(cut(grp, 6 + 8 + 3)), R("s.grp", msg::kGrpTableCut)},

        {"BmpHeadersCut", c, listed(cut(bmp, 30)), R("f.bmp", msg::kBitmapTruncated)},
        {"BmpDataOffsetInsideTheHeaders", c, listed(with32(bmp, 10, 20)), R("f.bmp", msg::kBitmapBadHeaders)},
        {"BmpDataOffsetPastTheEnd", c, listed(with32(bmp, 10, 5000)), R("f.bmp", msg::kBitmapDataCut)},
        {"BmpHugeNegativeHeight", c, listed(with32(bmp, 22, 0x80000000u)), R("f.bmp", msg::kBitmapTooLarge)},
        {"BmpRleStreamCutInARow", c, listed(handLaidBmp(4, 3, 8, 1, {2, 5, 0, 0, 1})), R("f.bmp", msg::kBitmapDataCut)},
        {"BmpRgbRowsCut", c, listed(handLaidBmp(4, 3, 24, 0, ByteVector(20, 0x40))), R("f.bmp", msg::kBitmapDataCut)},
        {"BmpFourBitRunLength", c, listed(handLaidBmp(4, 3, 4, 2, {4, 0x11, 0, 1})), R("f.bmp", msg::kUnsupportedBitmap)},
        // A height of 0 gives an empty picture.
        {"BmpZeroHeight", c, listed(with32(bmp, 22, 0)), {},
         [](const Folders& f) { EXPECT_EQ(readSpriteHeader(readFile(f.output("x_s.grp"))), (SpriteHeader{1, 4, 0})); }},

        {"QblEmptyFile", c, list(""), R("s.qbl", msg::kListEmpty)},
        {"QblNameOver127Characters", c, list("s.grp\r\n" + longName + "\r\n"), R("s.qbl", tooLong)},
        {"QblRefusedFirstName", c, list("QuillbrightBigUnit.grp\r\nf.bmp"), R("s.qbl", msg::kUnsupportedList)},
        {"QblDupeOfALaterFrame", c, list("s.grp f.bmp dupe_of_s005.bmp"), R("s.qbl", msg::kDupeNotEarlier, "1", "dupe_of_s005.bmp")},
        {"QblDupeNumberOverflowing", c, list("s.grp f.bmp " + overflowing), R("s.qbl", msg::kDupeNotEarlier, "1", overflowing)},
        {"QblGrpNameWithFolders", c, list("../../escape.grp f.bmp"), R("s.qbl", msg::kListGrpNameNotBare, "../../escape.grp")},
        {"QblMoreFramesThanAGrpHolds", c, list(tooManyFrames), R("s.qbl", msg::kListTooLong, "65536")},
        {"QblMissingBitmap", c, list("s.grp\r\nf.bmp\r\ng.bmp\r\n"), notFound("g.bmp")},
        {"QblOtherExtension", c, {{"s.txt", bytesOf("s.grp f.bmp")}}, R("s.txt", msg::kNotQbl)},

        {"PaletteJascBadHeader", p, paletted("p.pal", jasc("JASX-PAL", "256")), R("p.pal", msg::kPaletteUnknownRefused), {}, msg::kPaletteUnknown},
        {"PaletteJascNot256", p, paletted("p.pal", jasc("JASC-PAL", " 256")), R("p.pal", msg::kPaletteNot256Refused), {}, msg::kPaletteNot256},
        {"PaletteNameInCapitals", p, paletted("p.PAL", std::string(768, '\0')), R("p.PAL", msg::kPaletteNotRead)},
        // A raw palette shorter than 768 bytes gives the colours it holds, the rest black.
        {"PaletteRawShort", p, paletted("p.pal", "\x01\x02\x03\x04\x05\x06\x07"), {},
         [](const Folders& f) {
             EXPECT_EQ(exportedColour(f, 1), Palette::colour(4, 5, 6));
             EXPECT_EQ(exportedColour(f, 2), Palette::colour(7, 0, 0));
             EXPECT_EQ(exportedColour(f, 255), 0u);
         }},

        {"ArchiveEmptyFile", l, archive({}), R("a.mpq", msg::kArchiveFailed)},
        {"ArchiveCutInHalf", l, archive(cut(mpq, mpq.size() / 2)), R("a.mpq", msg::kArchiveFailed)},
        {"ArchiveHashTableLargerThanTheFile", l, archive(overwritten(mpq, 24, std::string("\0\0\0\x2d", 4))), R("a.mpq", msg::kArchiveFailed)},
        // A sector whose compression the reader has never heard of.
        {"ArchiveFileDataDamaged", x, archive(overwritten(mpq, sound.bigFileData + 44, "\x12")), R("unit\\big.grp", msg::kArchiveReadFailed, {}, {}, MessageIcon::stop)},
        {"NameListMissing", l, {{"a.mpq", mpq}}, R("names.txt", msg::kArchiveFailed)},
        // A last line without its line end is never looked up.
        {"NameListWithoutFinalLineEnd", x, archive(mpq, "unit\\s.grp"), R("unit\\s.grp", msg::kArchiveFileNotFound)},
        {"NameListLineOver299Characters", x, archive(mpq, "unit\\s.grp" + std::string(290, ' ') + "\r\n"), R("unit\\s.grp", msg::kArchiveFileNotFound)},
        {"HostileNameClimbing", x, archive(mpq), R("..\\escape.grp", msg::kArchiveNameDotLevel)},
        {"HostileNameWithADrive", x, archive(mpq), R("C:\\drive.grp", msg::kArchiveNameDrive)},
        {"HostileNameFromTheRoot", x, archive(mpq), R("\\root.grp", msg::kArchiveNameLeadingSeparator)},
        {"HostileNameWithSlashes", x, archive(mpq), R("u/s.grp", msg::kArchiveNameSlash)},
    };
    // clang-format on
}

// ---- Running a case ------------------------------------------------------------------------

std::vector<std::string> argumentsFor(const MalformedCase& c, const Folders& f) {
    const std::string input = f.input(c.files[0].first);
    switch (c.command) {
    case Command::info:
        return {"info", input};
    case Command::list:
        return {"list", "--names", f.input("names.txt"), input};
    case Command::extract:
        return {"extract", "--names", f.input("names.txt"), "--output-dir",
                f.out,     input,     c.refusal->file};
    case Command::exportWithPalette:
        return {"export", "--output-dir", f.out, "--palette", f.input(c.files[1].first), input};
    case Command::exportSprite:
        return {"export", "--output-dir", f.out, input};
    case Command::compile:
        return {"compile", "--output-dir", f.out, input};
    }
    return {};
}

std::vector<std::string> texts(const std::vector<testing::ShownMessage>& messages) {
    std::vector<std::string> out;
    for (const auto& message : messages)
        out.push_back(message.text);
    return out;
}

std::vector<std::string> textsOf(std::string_view text) {
    return text.empty() ? std::vector<std::string>{} : std::vector<std::string>{std::string(text)};
}

// The export or compile window of the desktop, given the input: the messages it showed.
std::vector<testing::ShownMessage> jobWindowMessages(const MalformedCase& c, const Folders& f) {
    testing::RecordingJobWindow window;
    window.choice = ExportMode::all;
    window.pickerAnswer = f.input(c.files[0].first);
    if (c.command == Command::exportSprite) {
        ExportWindowLogic logic({f.out, true, window.pickerAnswer, Palette{}});
        logic.initialise(window);
        logic.paint(window);
    } else {
        CompileWindowLogic logic({f.out, Palette{}});
        logic.initialise(window);
        logic.paint(window);
    }
    return window.messages;
}

// Locate Archive on the stored archive, then, for an extraction, the pick of the entry from
// the list: the desktop says "Errrrrror" for an archive or list it cannot open, and refuses an
// entry with the command line's text. An entry the name list does not find is not offered.
void checkArchiveCommands(const MalformedCase& c, const Folders& f) {
    ConverterState state;
    testing::RecordingWindow window;
    ArchiveLibrary library(makeStormBackend());
    state.useStoredArchive = true;
    state.archivePath = f.input(c.files[0].first);
    state.fileListPath = f.input("names.txt");
    state.outputDir = f.out;
    locateArchive(state, window, library);
    if (c.command == Command::list) {
        EXPECT_EQ(texts(window.messages), textsOf(msg::kArchiveFailed));
        return;
    }
    ASSERT_TRUE(window.messages.empty()) << window.messages[0].text;
    const auto offered = std::ranges::find(window.listItems, c.refusal->file);
    if (offered == window.listItems.end())
        return;
    window.selected = static_cast<int>(offered - window.listItems.begin());
    extractChosenFile(state, window, library);
    // A name is refused before the Save question; a read fails after the answer Yes.
    ASSERT_EQ(window.messages.size(), c.refusal->icon == MessageIcon::stop ? 2u : 1u);
    EXPECT_EQ(window.messages.back().text, expectedText(c, f));
    EXPECT_EQ(window.messages.back().icon, c.refusal->icon);
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
    const testing::FolderSnapshot before = testing::snapshotOf(f.root.path());

    const test::CliRun run = test::runCli(argumentsFor(c, f));
    EXPECT_EQ(run.signal, 0);
    if (c.refusal) {
        std::string line = expectedText(c, f);
        std::ranges::replace(line, '\n', ' ');
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, named(c, f) + ": " + line + "\n");
        EXPECT_EQ(testing::snapshotOf(f.root.path()), before) << "a refused input changed files";
    } else {
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        c.defined(f);
    }

    // The desktop: Load Palette at start-up on the stored palette, the archive commands, the
    // preview of a sprite (whatever its bytes decode to, only a name that is not a GRP's has a
    // message) and the same job in its window.
    if (c.command == Command::exportWithPalette) {
        ConverterState state;
        testing::RecordingWindow window;
        state.paletteLocation = f.input(c.files[1].first);
        loadPalette(state, window);
        EXPECT_EQ(texts(window.messages), textsOf(c.desktop));
        return;
    }
    if (c.command == Command::list || c.command == Command::extract) {
        checkArchiveCommands(c, f);
        EXPECT_EQ(testing::snapshotOf(f.root.path()), before);
        return;
    }
    if (c.command != Command::compile) {
        ConverterState state;
        testing::RecordingWindow window;
        state.grpNameText = f.input(c.files[0].first);
        showFrame(state, window);
        EXPECT_EQ(texts(window.messages),
                  textsOf(state.grpNameText.ends_with(".grp") ? "" : msg::kNotGrp));
    }
    if (c.command != Command::info && c.refusal) {
        const auto messages = jobWindowMessages(c, f);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, expectedText(c, f));
        EXPECT_EQ(messages[0].icon, c.refusal->icon);
        EXPECT_EQ(testing::snapshotOf(f.root.path()), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedInput, ::testing::ValuesIn(allCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pixmorph
