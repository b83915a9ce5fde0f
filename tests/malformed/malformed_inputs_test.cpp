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
#include "core/file_error.h"
#include "core/grp_format.h"
#include "core/messages.h"
#include "folder_snapshot.h"
#include "malformed_files.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace pixmorph {
namespace {

using test::handLaidBmp;
using test::handLaidSprite;
using test::jascColourLines;
using test::jascPalette;
using test::soundBitmap;
using test::soundSprite;
using testing::readFile;
using testing::ScratchDir;

enum class Command { exportSprite, info, compile, list, extract };

using Inputs = std::map<std::string, ByteVector>; // file name in the input folder -> bytes
using Rows = std::vector<std::vector<int>>;

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
        std::filesystem::create_directories(out + "/unit");
        std::filesystem::create_directory(in);
        for (const char* earlier : {"s000.bmp", "s.qbl", "x_s.grp", "unit/s.grp"})
            testing::writeFile(out + "/" + earlier, std::string("earlier output"));
    }
    std::string input(const std::string& name) const { return in + "/" + name; }
    std::string output(const std::string& name) const { return out + "/" + name; }
};

using Text = std::function<std::string(const Folders&)>;

struct Refusal {
    Text named; // what the message line starts with: the file concerned
    Text text;  // the message, as the desktop shows it
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
    DefinedOutcome defined = {};
    std::optional<std::string> palette = std::nullopt; // --palette, a file in in/
    std::string desktopPaletteMessage = {};            // what Load Palette shows, if anything
    std::string entry = {};                            // the archive name to extract
};

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// ---- Refusals ------------------------------------------------------------------------------

Text inputPath(const std::string& file) {
    return [file](const Folders& f) { return f.input(file); };
}

Refusal naming(const std::string& file, std::string_view text, std::string detail = {}) {
    return {inputPath(file), [file, text, detail](const Folders& f) {
                return fillIn(text, {f.input(file), detail});
            }};
}

Refusal plain(const std::string& file, std::string_view view) {
    return {inputPath(file), [text = std::string(view)](const Folders&) { return text; }};
}

Refusal notFound(const std::string& file) {
    return {inputPath(file),
            [file](const Folders& f) {
                return fileErrorMessage(FileErrorCause::fileNotFound, f.input(file));
            },
            MessageIcon::stop};
}

Refusal dupeNotEarlier(std::size_t frame, const std::string& name) {
    return {
        inputPath("s.qbl"), [frame, name](const Folders& f) {
            return fillIn(msg::kDupeNotEarlier, {f.input("s.qbl"), std::to_string(frame), name});
        }};
}

// An archive entry's refusal names the entry, not a file on disk.
Refusal entryRefused(const std::string& entry, std::string_view text,
                     MessageIcon icon = MessageIcon::exclamation) {
    return {[entry](const Folders&) { return entry; },
            [entry, text](const Folders&) { return fillIn(text, entry); }, icon};
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

ByteVector overwritten(ByteVector file, std::size_t at, std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    return file;
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

const std::vector<std::string> kHostileNames = {
    "..\\escape.grp", "unit\\..\\..\\escape.grp", "C:\\drive.grp",
    "\\root.grp",     "unit/../../slash.grp",
};

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
            {"unit\\s.grp", soundSprite()},
            {"unit\\big.grp", testing::sampleBytes(40000, 1)},
        };
        for (const auto& name : kHostileNames)
            files.push_back({name, testing::sampleBytes(100, 3)});
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

// The export's bitmap of frame 0 read back as rows of palette indices, from the top.
Rows exportedRows(const Folders& f, int width, int height) {
    IndexImage image;
    NearestColour nearest{Palette{}};
    const BmpReadResult read = readBmp(readFile(f.output("s000.bmp")), nearest, image);
    EXPECT_EQ(read.status, BmpReadStatus::ok);
    Rows rows(height, std::vector<int>(width));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y][x] = static_cast<int>(image.at(x, y));
    return rows;
}

// Palette entry i of the export's bitmap of frame 0.
std::uint32_t exportedColour(const Folders& f, int i) {
    const ByteVector bitmap = readFile(f.output("s000.bmp"));
    const std::size_t at = 54 + 4 * static_cast<std::size_t>(i);
    return Palette::colour(bitmap.at(at + 2), bitmap.at(at + 1), bitmap.at(at));
}

// The compiled sprite's frame 0 as rows of pixels over the sprite's size.
Rows compiledRows(const Folders& f) {
    const ByteVector file = readFile(f.output("x_s.grp"));
    const SpriteHeader header = readSpriteHeader(file).value_or(SpriteHeader{});
    Rows rows(header.height, std::vector<int>(header.width));
    FrameCanvas canvas;
    if (const auto entry = readFrameEntry(file, 0)) {
        EXPECT_EQ(decodeFrame(file, *entry, canvas), DecodeStatus::complete);
    }
    for (int y = 0; y < header.height; ++y)
        for (int x = 0; x < header.width; ++x)
            rows[y][x] = canvas.at(x, y);
    return rows;
}

// ---- The cases -----------------------------------------------------------------------------

std::vector<MalformedCase> spriteCases() {
    const std::size_t data1 = *readU32(soundSprite(), 6 + 8 + 4); // frame 1's data offset
    const auto e = Command::exportSprite;
    return {
        {"GrpEmptyFile", e, "s.grp", sprite({}), naming("s.grp", msg::kGrpTooShort)},
        {"GrpHeaderCut", e, "s.grp", sprite(cut(soundSprite(), 5)),
         naming("s.grp", msg::kGrpTooShort)},
        {"GrpFrameTableCut", e, "s.grp", sprite(withU16(soundSprite(), 0, 60)),
         naming("s.grp", msg::kGrpTableCut)},
        {"GrpDataOffsetPastTheEnd", e, "s.grp",
         sprite(withU32(soundSprite(), 6 + 8 + 4, 0xFFFFFFF0)),
         naming("s.grp", msg::kGrpFrameCut, "1")},
        {"GrpRowOffsetsCut", e, "s.grp", sprite(cut(soundSprite(), data1 + 3)),
         naming("s.grp", msg::kGrpFrameCut, "1")},
        {"GrpRowOffsetPastTheEnd", e, "s.grp", sprite(withU16(soundSprite(), data1 + 4, 0xFFFF)),
         naming("s.grp", msg::kGrpFrameCut, "1")},
        {"GrpRunPastTheEndOfTheFile", e, "s.grp",
         sprite(handLaidSprite(16, 8, {{0, 0, 4, 1, {{0x3F, 1, 2}}}})),
         naming("s.grp", msg::kGrpFrameCut, "0")},
        {"GrpRowIdlingOnOpcodesThatDrawNothing", e, "s.grp",
         sprite(handLaidSprite(16, 8, {{0, 0, 4, 1, {[] {
                                            ByteVector row(302, 0x00); // 300 of them, then
                                            row[300] = 0x44;           // a run of four
                                            row[301] = 7;
                                            return row;
                                        }()}}})),
         naming("s.grp", msg::kGrpFrameIdling, "0")},
        {"GrpFrameRightOfThePictureArea", e, "s.grp",
         sprite(handLaidSprite(256, 8, {{250, 0, 10, 1, {{0x4A, 7}}}})),
         naming("s.grp", msg::kFrameOutsidePicture, "0")},
        {"GrpFrameBelowThePictureArea", e, "s.grp",
         sprite(handLaidSprite(8, 256, {{0, 250, 1, 10, std::vector<ByteVector>(10, {0x41, 7})}})),
         naming("s.grp", msg::kFrameOutsidePicture, "0")},
        {"GrpSpriteTooLarge", e, "s.grp", sprite(withU16(soundSprite(), 2, 300)),
         Refusal{inputPath("s.grp"),
                 [](const Folders& f) {
                     return fillIn(msg::kExportTooLarge, {f.input("s.grp"), "300", "8"});
                 }}},
        {"GrpFramesWithoutArea", e, "s.grp", sprite(withU16(soundSprite(), 4, 0)),
         naming("s.grp", msg::kSpriteWithoutArea)},
        // Frames stored uncompressed, as some sprites are: their pixels read as row offsets
        // that lead past the end of the file.
        {"GrpUncompressedVariant", e, "s.grp", sprite([] {
             ByteVector file = handLaidSprite(8, 4, {{0, 0, 8, 4, {}}});
             file.insert(file.end(), 32, 0x55);
             return file;
         }()),
         naming("s.grp", msg::kGrpFrameCut, "0")},
        {"GrpNameInCapitals", e, "s.GRP", {{"s.GRP", soundSprite()}}, plain("s.GRP", msg::kNotGrp)},
        // The last run of a row is not cut at the frame's width.
        {"GrpLastRunPassesTheFrameWidth", e, "s.grp",
         sprite(handLaidSprite(8, 2, {{1, 0, 3, 1, {{0x81, 0x44, 7}}}})), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(exportedRows(f, 8, 2),
                       (Rows{{0, 0, 7, 7, 7, 7, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}}));
         }},
        {"GrpInfoFrameTableCut", Command::info, "s.grp", sprite(cut(soundSprite(), 6 + 8 + 3)),
         naming("s.grp", msg::kGrpTableCut)},
    };
}

std::vector<MalformedCase> bitmapCases() {
    const auto c = Command::compile;
    return {
        {"BmpHeadersCut", c, "s.qbl", listed(cut(soundBitmap(), 30)),
         naming("f.bmp", msg::kBitmapTruncated)},
        {"BmpDataOffsetInsideTheHeaders", c, "s.qbl", listed(withU32(soundBitmap(), 10, 20)),
         naming("f.bmp", msg::kBitmapBadHeaders)},
        {"BmpDataOffsetPastTheEnd", c, "s.qbl", listed(withU32(soundBitmap(), 10, 5000)),
         naming("f.bmp", msg::kBitmapDataCut)},
        {"BmpNegativeWidth", c, "s.qbl", listed(withU32(soundBitmap(), 18, -4)),
         naming("f.bmp", msg::kBitmapBadHeaders)},
        {"BmpHugeWidth", c, "s.qbl", listed(withU32(soundBitmap(), 18, 100000)),
         naming("f.bmp", msg::kBitmapTooLarge)},
        {"BmpHugeNegativeHeight", c, "s.qbl", listed(withU32(soundBitmap(), 22, 0x80000000u)),
         naming("f.bmp", msg::kBitmapTooLarge)},
        {"BmpRleStreamCutInARow", c, "s.qbl", listed(handLaidBmp(4, 3, 8, 1, {2, 5, 0, 0, 1})),
         naming("f.bmp", msg::kBitmapDataCut)},
        {"BmpRleAbsoluteRunCut", c, "s.qbl", listed(handLaidBmp(4, 3, 8, 1, {0, 5, 1, 2})),
         naming("f.bmp", msg::kBitmapDataCut)},
        {"BmpRgbRowsCut", c, "s.qbl", listed(handLaidBmp(4, 3, 24, 0, ByteVector(20, 0x40))),
         naming("f.bmp", msg::kBitmapDataCut)},
        {"BmpFourBitRunLength", c, "s.qbl", listed(handLaidBmp(4, 3, 4, 2, {4, 0x11, 0, 1})),
         plain("f.bmp", msg::kUnsupportedBitmap)},
        // A height of 0 gives an empty picture.
        {"BmpZeroHeight", c, "s.qbl", listed(withU32(soundBitmap(), 22, 0)), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(readSpriteHeader(readFile(f.output("x_s.grp"))), (SpriteHeader{1, 4, 0}));
         }},
        // Pixels a run or a delta places outside the picture are dropped.
        {"BmpRunPastTheRightEdge", c, "s.qbl",
         listed(handLaidBmp(4, 2, 8, 1, {200, 5, 0, 0, 1, 3, 0, 1})), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(compiledRows(f), (Rows{{3, 0, 0, 0}, {5, 5, 5, 5}}));
         }},
        {"BmpDeltasPastTheEdges", c, "s.qbl",
         listed(handLaidBmp(4, 2, 8, 1, {1, 6, 0, 2, 200, 0, 2, 9, 0, 0, 1, 3, 0, 2, 0, 40, 1, 8})),
         std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(compiledRows(f), (Rows{{3, 0, 0, 0}, {6, 0, 0, 0}}));
         }},
        // Without its end-of-picture code the stream ends after its height's rows.
        {"BmpRleWithoutEndOfPicture", c, "s.qbl",
         listed(handLaidBmp(2, 2, 8, 1, {2, 4, 0, 0, 1, 0, 1, 8, 0, 0})), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(compiledRows(f), (Rows{{0, 8}, {4, 4}}));
         }},
    };
}

std::vector<MalformedCase> listCases() {
    const auto c = Command::compile;
    return {
        {"QblEmptyFile", c, "s.qbl", list(""), plain("s.qbl", msg::kListEmpty)},
        {"QblNameOver127Characters", c, "s.qbl",
         list("s.grp\r\n" + std::string(128, 'n') + ".bmp\r\n"),
         plain("s.qbl", std::string(msg::kListNameTooLong) + std::string(128, 'n') + ".bmp")},
        {"QblRefusedFirstName", c, "s.qbl", list("QuillbrightBigUnit.grp\r\nf.bmp"),
         plain("s.qbl", msg::kUnsupportedList)},
        {"QblDupeWithoutNumber", c, "s.qbl", list("s.grp f.bmp dupe_of_sabc.bmp"),
         dupeNotEarlier(1, "dupe_of_sabc.bmp")},
        {"QblDupeOfALaterFrame", c, "s.qbl", list("s.grp f.bmp dupe_of_s005.bmp"),
         dupeNotEarlier(1, "dupe_of_s005.bmp")},
        {"QblDupeNumberOverflowing", c, "s.qbl",
         list("s.grp f.bmp dupe_of_s99999999999999999999.bmp"),
         dupeNotEarlier(1, "dupe_of_s99999999999999999999.bmp")},
        {"QblGrpNameWithFolders", c, "s.qbl", list("../../escape.grp f.bmp"),
         naming("s.qbl", msg::kListGrpNameNotBare, "../../escape.grp")},
        {"QblMoreFramesThanAGrpHolds", c, "s.qbl", list([] {
             std::string text = "s.grp";
             for (int i = 0; i < 65536; ++i)
                 text += "\r\nf.bmp";
             return text;
         }()),
         naming("s.qbl", msg::kListTooLong, "65536")},
        // A blank splits a name: the list names the GRP "my" and the bitmap "unit.grp".
        {"QblNamesWithBlanks", c, "s.qbl", list("my unit.grp\r\nmy unit000.bmp\r\n"),
         notFound("unit.grp")},
        {"QblMissingBitmap", c, "s.qbl", list("s.grp\r\nf.bmp\r\ng.bmp\r\n"), notFound("g.bmp")},
        {"QblOtherExtension",
         c,
         "s.txt",
         {{"s.txt", bytesOf("s.grp f.bmp")}},
         plain("s.txt", msg::kNotQbl)},
    };
}

std::vector<MalformedCase> paletteCases() {
    const auto e = Command::exportSprite;
    return {
        // A raw palette shorter than 768 bytes gives the colours it holds, the rest black.
        {"PaletteRawShort", e, "s.grp", withPalette(std::string("\x01\x02\x03\x04\x05\x06\x07", 7)),
         std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(exportedColour(f, 0), Palette::colour(1, 2, 3));
             EXPECT_EQ(exportedColour(f, 1), Palette::colour(4, 5, 6));
             EXPECT_EQ(exportedColour(f, 2), Palette::colour(7, 0, 0));
             EXPECT_EQ(exportedColour(f, 255), 0u);
         },
         "p.pal"},
        {"PaletteJascBadHeader",
         e,
         "s.grp",
         withPalette(jascPalette("JASX-PAL", "0100", "256", jascColourLines(256))),
         plain("p.pal", msg::kPaletteUnknownRefused),
         {},
         "p.pal",
         std::string(msg::kPaletteUnknown)},
        {"PaletteJascNot256",
         e,
         "s.grp",
         withPalette(jascPalette("JASC-PAL", "0100", " 256", jascColourLines(256))),
         plain("p.pal", msg::kPaletteNot256Refused),
         {},
         "p.pal",
         std::string(msg::kPaletteNot256)},
        // A palette that ends early repeats its last colour line.
        {"PaletteJascFewerLines", e, "s.grp",
         withPalette(jascPalette("JASC-PAL", "0100", "256", jascColourLines(100))), std::nullopt,
         [](const Folders& f) {
             EXPECT_EQ(exportedColour(f, 99), Palette::colour(99, 156, 49));
             EXPECT_EQ(exportedColour(f, 255), Palette::colour(99, 156, 49));
         },
         "p.pal"},
        // Only the low 8 bits of a number count; 10^20 - 1 leaves 255.
        {"PaletteJascNumbersOverflowing", e, "s.grp",
         withPalette(jascPalette("JASC-PAL", "0100", "256",
                                 std::vector<std::string>(256, "99999999999999999999 256 -1"))),
         std::nullopt,
         [](const Folders& f) { EXPECT_EQ(exportedColour(f, 7), Palette::colour(255, 0, 255)); },
         "p.pal"},
        {"PaletteNameInCapitals",
         e,
         "s.grp",
         {{"s.grp", soundSprite()}, {"p.PAL", ByteVector(768)}},
         plain("p.PAL", msg::kPaletteNotRead),
         {},
         "p.PAL"},
    };
}

std::vector<MalformedCase> archiveCases() {
    const SoundArchive& sound = soundArchive();
    const ByteVector& whole = sound.bytes;
    const auto l = Command::list;
    const auto x = Command::extract;
    std::vector<MalformedCase> cases = {
        {"ArchiveEmptyFile", l, "a.mpq", archive({}), plain("a.mpq", msg::kArchiveFailed)},
        {"ArchiveCutInHalf", l, "a.mpq", archive(cut(whole, whole.size() / 2)),
         plain("a.mpq", msg::kArchiveFailed)},
        {"ArchiveNotAnArchive", l, "a.mpq", archive(ByteVector(4096, 'x')),
         plain("a.mpq", msg::kArchiveFailed)},
        {"ArchiveHashTableLargerThanTheFile", l, "a.mpq",
         archive(overwritten(whole, 24, std::string("\0\0\0\x2d", 4))),
         plain("a.mpq", msg::kArchiveFailed)},
        // A sector whose compression the reader has never heard of.
        {"ArchiveFileDataDamaged",
         x,
         "a.mpq",
         archive(overwritten(whole, sound.bigFileData + 44, "\x12")),
         entryRefused("unit\\big.grp", msg::kArchiveReadFailed, MessageIcon::stop),
         {},
         std::nullopt,
         {},
         "unit\\big.grp"},
        {"NameListMissing",
         l,
         "a.mpq",
         {{"a.mpq", whole}},
         plain("names.txt", msg::kArchiveFailed)},
        // A last line without its line end is never looked up.
        {"NameListWithoutFinalLineEnd",
         x,
         "a.mpq",
         archive(whole, "unit\\s.grp"),
         entryRefused("unit\\s.grp", msg::kArchiveFileNotFound),
         {},
         std::nullopt,
         {},
         "unit\\s.grp"},
        {"NameListLineOver299Characters",
         x,
         "a.mpq",
         archive(whole, "unit\\s.grp" + std::string(290, ' ') + "\r\n"),
         entryRefused("unit\\s.grp", msg::kArchiveFileNotFound),
         {},
         std::nullopt,
         {},
         "unit\\s.grp"},
    };
    const std::string_view hostileTexts[] = {
        msg::kArchiveNameDotLevel, msg::kArchiveNameDotLevel, msg::kArchiveNameDrive,
        msg::kArchiveNameLeadingSeparator, msg::kArchiveNameSlash};
    const char* hostileCases[] = {"HostileNameClimbing", "HostileNameClimbingFromAFolder",
                                  "HostileNameWithADrive", "HostileNameFromTheRoot",
                                  "HostileNameWithSlashes"};
    for (std::size_t i = 0; i < kHostileNames.size(); ++i)
        cases.push_back({hostileCases[i],
                         x,
                         "a.mpq",
                         archive(whole),
                         entryRefused(kHostileNames[i], hostileTexts[i]),
                         {},
                         std::nullopt,
                         {},
                         kHostileNames[i]});
    return cases;
}

std::vector<MalformedCase> allCases() {
    std::vector<MalformedCase> cases;
    for (auto&& group : {spriteCases(), bitmapCases(), listCases(), paletteCases(), archiveCases()})
        cases.insert(cases.end(), group.begin(), group.end());
    return cases;
}

// ---- Running a case ------------------------------------------------------------------------

std::vector<std::string> argumentsFor(const MalformedCase& c, const Folders& f) {
    switch (c.command) {
    case Command::info:
        return {"info", f.input(c.input)};
    case Command::list:
        return {"list", "--names", f.input("names.txt"), f.input(c.input)};
    case Command::extract:
        return {"extract",        "--names", f.input("names.txt"), "--output-dir", f.out,
                f.input(c.input), c.entry};
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

// The export or compile window of the desktop, given the input: the messages it showed.
std::vector<testing::ShownMessage> jobWindowMessages(const MalformedCase& c, const Folders& f) {
    testing::RecordingJobWindow window;
    if (c.command == Command::exportSprite) {
        window.choice = ExportMode::all;
        ExportWindowLogic logic({f.out, true, f.input(c.input), Palette{}});
        logic.initialise(window);
        logic.paint(window);
    } else {
        window.pickerAnswer = f.input(c.input);
        CompileWindowLogic logic({f.out, Palette{}});
        logic.initialise(window);
        logic.paint(window);
    }
    return window.messages;
}

std::vector<std::string> texts(const std::vector<testing::ShownMessage>& messages) {
    std::vector<std::string> out;
    for (const auto& message : messages)
        out.push_back(message.text);
    return out;
}

// The preview shows a sprite whatever its bytes decode to: only a name that is not a GRP's
// has a message.
void checkPreview(const MalformedCase& c, const Folders& f) {
    ConverterState state;
    testing::RecordingWindow window;
    state.grpNameText = f.input(c.input);
    showFrame(state, window);
    const bool notGrp = !c.input.ends_with(".grp");
    EXPECT_EQ(texts(window.messages), notGrp ? std::vector<std::string>{std::string(msg::kNotGrp)}
                                             : std::vector<std::string>{});
}

// Load Palette at start-up, on the stored palette: its message, if it has one.
void checkLoadPalette(const MalformedCase& c, const Folders& f) {
    ConverterState state;
    testing::RecordingWindow window;
    state.paletteLocation = f.input(*c.palette);
    loadPalette(state, window);
    EXPECT_EQ(texts(window.messages), c.desktopPaletteMessage.empty()
                                          ? std::vector<std::string>{}
                                          : std::vector<std::string>{c.desktopPaletteMessage});
}

// Locate Archive on the stored archive, then, for an extraction, the pick of the entry from
// the list: the desktop says "Errrrrror" for an archive or list it cannot open, and refuses an
// entry with the command line's text. An entry the name list does not find is not offered.
void checkArchiveCommands(const MalformedCase& c, const Folders& f) {
    ConverterState state;
    testing::RecordingWindow window;
    ArchiveLibrary library(makeStormBackend());
    state.useStoredArchive = true;
    state.archivePath = f.input(c.input);
    state.fileListPath = f.input("names.txt");
    state.outputDir = f.out;
    locateArchive(state, window, library);
    if (c.command == Command::list) {
        EXPECT_EQ(texts(window.messages),
                  std::vector<std::string>{std::string(msg::kArchiveFailed)});
        return;
    }
    ASSERT_TRUE(window.messages.empty()) << window.messages[0].text;
    const auto offered = std::find(window.listItems.begin(), window.listItems.end(), c.entry);
    if (offered == window.listItems.end())
        return;
    window.selected = static_cast<int>(offered - window.listItems.begin());
    extractChosenFile(state, window, library);
    ASSERT_FALSE(window.messages.empty());
    EXPECT_EQ(window.messages.back().text, c.refusal->text(f));
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
    const test::FolderSnapshot before = test::snapshotOf(f.root.path());

    const test::CliRun run = test::runCli(argumentsFor(c, f));
    EXPECT_EQ(run.signal, 0);
    if (c.refusal) {
        const std::string named = c.refusal->named(f);
        const std::string text = c.refusal->text(f);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, named + ": " + oneLine(text) + "\n");
        EXPECT_EQ(test::snapshotOf(f.root.path()), before) << "a refused input changed files";
    } else {
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        c.defined(f);
    }

    // The desktop: the same job in its window, the preview of a sprite, Load Palette, the
    // archive commands.
    if (c.palette) {
        checkLoadPalette(c, f);
        return;
    }
    if (c.command == Command::list || c.command == Command::extract) {
        checkArchiveCommands(c, f);
        EXPECT_EQ(test::snapshotOf(f.root.path()), before);
        return;
    }
    if (c.command == Command::exportSprite || c.command == Command::info)
        checkPreview(c, f);
    const bool job = c.command == Command::exportSprite || c.command == Command::compile;
    if (job && c.refusal) {
        const auto messages = jobWindowMessages(c, f);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, c.refusal->text(f));
        EXPECT_EQ(messages[0].icon, c.refusal->icon);
        EXPECT_EQ(test::snapshotOf(f.root.path()), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedInput, ::testing::ValuesIn(allCases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pixmorph
