#pragma once
// Every fixed text the program shows the user, in one place.

#include "core/version.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace pixmorph {

enum class MessageIcon { exclamation, stop };

namespace msg {
inline constexpr std::string_view kAppName = "Pixmorph";
inline constexpr std::string_view kNotGrp = "Not a .GRP File";
inline constexpr std::string_view kNotQbl = "Not a .QBL File";
inline constexpr std::string_view kUnsupportedList = "Unsupported Format.";
inline constexpr std::string_view kUnsupportedBitmap =
    "Unsupported File Format\nNot RLE encoded or RGB format.";
inline constexpr std::string_view kListEmpty = "The list names no GRP file.";
inline constexpr std::string_view kListNameTooLong =
    "A name in the list is longer than 127 characters:\n";
inline constexpr std::string_view kBitmapTooLarge = "%1 is wider or taller than 300 pixels.";
inline constexpr std::string_view kBitmapTruncated =
    "%1 is not a complete bitmap: it ends inside its headers.";
inline constexpr std::string_view kBitmapBadHeaders =
    "%1 is not a valid bitmap: its width is negative or its pixels start inside its headers.";
inline constexpr std::string_view kPaletteUnknown = "Unable to determine file type\nusing default.";
inline constexpr std::string_view kPaletteNot256 = "Jasc Palette: not 256 colors \nusing default.";
// The same two refusals where no built-in colours stand in (the command line).
inline constexpr std::string_view kPaletteUnknownRefused =
    "Unable to determine file type: not a palette of a kind this program reads.\nNothing was "
    "converted.";
inline constexpr std::string_view kPaletteNot256Refused =
    "Jasc Palette: not 256 colors.\nNothing was converted.";
inline constexpr std::string_view kPaletteShortRefused =
    "%1 holds %2 bytes, short of the 768 of a raw palette.\nNothing was converted.";
inline constexpr std::string_view kNotMpq = "This is not an MPQ file\nplease try again";
inline constexpr std::string_view kArchiveFailed = "Errrrrror";
// Extraction from the archive; %1 is the archive name.
inline constexpr std::string_view kArchiveNameEmpty = "An empty archive name cannot be saved.";
inline constexpr std::string_view kArchiveNameEmptyLevel =
    "%1 cannot be saved:\nits name has an empty folder level.";
inline constexpr std::string_view kArchiveNameLeadingSeparator =
    "%1 cannot be saved:\nits name starts with a separator.";
inline constexpr std::string_view kArchiveNameDotLevel =
    "%1 cannot be saved:\nits name has a \".\" or \"..\" level.";
inline constexpr std::string_view kArchiveNameDrive =
    "%1 cannot be saved:\nits name holds a drive letter or ':'.";
inline constexpr std::string_view kArchiveNameSlash = "%1 cannot be saved:\nits name holds a '/'.";
inline constexpr std::string_view kArchiveNameControl =
    "%1 cannot be saved:\nits name holds control characters.";
inline constexpr std::string_view kArchiveFileNotFound =
    "%1 is not among the files the name list found in the archive.";
inline constexpr std::string_view kArchiveFileTooLarge =
    "%1 is larger than 64 MiB and was not saved.";
inline constexpr std::string_view kArchiveReadFailed =
    "%1 could not be read from the archive;\nnothing was saved.";
// The command line's --output-dir, after the folder's name.
inline constexpr std::string_view kNoSuchFolder = "no such folder";
inline constexpr std::string_view kNotAFolder = "not a folder";
// Why the command line could not open an archive and its name list, where the desktop says
// "Errrrrror" alone.
inline constexpr std::string_view kArchiveNotOpened = "%1 could not be opened as an MPQ archive.";
inline constexpr std::string_view kNameListTooLong = "%1 holds more than 65536 lines.";
// An extraction with flat names, when two names of one run flatten to the same file.
inline constexpr std::string_view kFlatNameTaken =
    "%1 was not saved:\nits flat name %2 is the file this run saved for %3.";
inline constexpr std::string_view kFirstRunRefusal =
    "Please run this once without\ncommand line parameters for initial setup";
inline constexpr std::string_view kExportStatus = "Painting Bitmaps.";
inline constexpr std::string_view kExportFinished = "Finished";
inline constexpr std::string_view kCompileStatus = "Compiling GRP.";
inline constexpr std::string_view kCompileFinished = "Finished.";
inline constexpr std::string_view kAborted = "Aborted.";
// A job window whose job was refused or failed: its message has been shown, the window waits
// for OK.
inline constexpr std::string_view kJobStopped = "Stopped.";
inline constexpr std::string_view kVersion = PIXMORPH_VERSION;

// Refusals of the sprite writer; %1 is the frame's number.
inline constexpr std::string_view kFrameBoxTooLarge =
    "Frame %1 is too large: a GRP frame holds at most 255 columns and 254 rows of pixels.";
inline constexpr std::string_view kFrameOffsetTooLarge =
    "Frame %1 starts too far from the top left: a GRP frame must begin within 255 pixels.";
inline constexpr std::string_view kFrameRowsTooLong =
    "Frame %1 is too detailed: its rows do not fit in the 65535 bytes a GRP frame can address.";
inline constexpr std::string_view kTooManyFrames =
    "Frame %1 is one too many: a GRP file holds at most 65535 frames.";
inline constexpr std::string_view kBadDuplicate =
    "Frame %1 repeats a frame that does not come before it.";
inline constexpr std::string_view kSpriteTooLarge =
    "Frame %1 does not fit: a GRP file cannot grow past 64 MB, the most the program reads.";

// File errors by cause 0 to 14; %1 is the file's name.
inline constexpr std::string_view kFileErrors[] = {
    "No error occurred.",
    "An unknown error occurred while accessing %1.",
    "%1 was not found.",
    "%1 contains an invalid path.",
    "%1 could not be opened because there are too many open files.",
    "Access to %1 was denied.",
    "An invalid file handle was associated with %1.",
    "%1 could not be removed because it is the current directory.",
    "%1 could not be created because the directory is full.",
    "Seek failed on %1",
    "A hardware I/O error was reported while accessing %1.",
    "A sharing violation occurred while accessing %1.",
    "A locking violation occurred while accessing %1.",
    "Disk full while accessing %1.",
    "An attempt was made to access %1 past its end.",
};
inline constexpr std::string_view kUnnamedFile = "an unnamed file";
// A file past kMaxWholeFileSize, refused before it is read.
inline constexpr std::string_view kFileTooLarge =
    "%1 is larger than 64 MiB, the most Pixmorph reads.";
// An input that is a folder, a device, a FIFO or a socket, refused without being opened.
inline constexpr std::string_view kNotRegularFile =
    "%1 is not a regular file: Pixmorph reads only regular files.";
// A folder level beneath the output folder that is a link, refused before anything is written.
inline constexpr std::string_view kLinkInPath =
    "%1 is a link: Pixmorph writes nothing through a link.";

// Refusals of the conversion jobs; %1 is the file concerned, %2 and %3 the details.
inline constexpr std::string_view kGrpTooShort = "%1 is too short to be a GRP file.";
inline constexpr std::string_view kGrpTableCut = "%1 ends inside its frame table.";
inline constexpr std::string_view kGrpFrameCut = "%1 ends inside the data of frame %2.";
inline constexpr std::string_view kGrpFrameIdling =
    "%1 is damaged: a row of frame %2 runs on without drawing, far past any real row.";
inline constexpr std::string_view kExportTooLarge =
    "%1 is %2 x %3 pixels.\nSprites wider or taller than 256 pixels cannot be exported.";
inline constexpr std::string_view kSpriteWithoutArea =
    "%1 has frames but a width or height of 0.\nThere is no picture to write them into.";
inline constexpr std::string_view kFrameOutsidePicture =
    "%1: frame %2 reaches outside the 256 x 256 picture area.\nThe export stopped there.";
inline constexpr std::string_view kExportNoRoom =
    "%1 needs up to %2 MB in %3, which has %4 MB free.\nNothing was written.";
inline constexpr std::string_view kFrameOutsideSprite =
    "%1: frame %2 has pixels outside the sprite's %3 picture,\nwhich its bitmap cannot hold. The "
    "export stopped there.";
inline constexpr std::string_view kListTooLong = "%1 lists %2 frames.\nA GRP holds at most 65535.";
inline constexpr std::string_view kListGrpNameNotBare =
    "%1 names the GRP %2.\nThe name must be a file name without a folder.";
inline constexpr std::string_view kDupeNotEarlier =
    "%1: frame %2 is listed as %3,\nwhich names no earlier frame of the list.";
inline constexpr std::string_view kListNameTooLongToWrite =
    "%1 cannot be exported: its frame list would name %2,\nwhich is longer than 127 characters.";
inline constexpr std::string_view kListNameNotWritable =
    "%1 cannot be exported: its frame list could not name %2\nso that it reads back "
    "(a name may not start with '\"', break its line, or hold '\"' beside blanks).";
inline constexpr std::string_view kBitmapDataCut = "%1 ends before its picture is complete.";
inline constexpr std::string_view kPaletteNotRead =
    "The palette was not read: its name ends in none of \"pal\", .act, .wpe, .gpl, .bmp, .png.";
inline constexpr std::string_view kBitmapNotFitting = "%1 cannot be compiled:\n%2";
// PNG frames and sprite sheets.
inline constexpr std::string_view kPngDamaged = "%1 is not a PNG picture that can be read: %2.";
inline constexpr std::string_view kSheetTooLarge =
    "%1 is too large for a sprite sheet: at most %2 pixels a side and %3 in all.";
inline constexpr std::string_view kSheetJsonBroken = "%1 cannot be compiled as a sprite sheet: %2.";
inline constexpr std::string_view kSheetNotJson = "it is not JSON";
inline constexpr std::string_view kSheetNoFrames = "it has no \"frames\" array or object";
inline constexpr std::string_view kSheetNoImage = "its \"meta\" names no \"image\"";
inline constexpr std::string_view kSheetTooManyFrames = "it lists %1 frames, above 65535";
inline constexpr std::string_view kSheetFrameProblem = "frame %1 %2";
inline constexpr std::string_view kSheetNotAnObject = "is not an object";
inline constexpr std::string_view kSheetNoRectangle =
    "has no \"frame\" rectangle of whole numbers within 32768";
inline constexpr std::string_view kSheetRotated = "is rotated";
inline constexpr std::string_view kSheetPlacement =
    "does not lie inside its picture (\"spriteSourceSize\", \"sourceSize\")";
inline constexpr std::string_view kSheetPictureSize =
    "has a picture of 0 or above 256 pixels a side";
inline constexpr std::string_view kSheetOursBroken = "its \"pixmorph\" entry is damaged";
inline constexpr std::string_view kSheetImageNotBare =
    "its image must be a file name without a folder";
inline constexpr std::string_view kSheetFrameOutside = "frame %1 reaches outside the sheet %2";
inline constexpr std::string_view kAnimationTooLarge =
    "%1 would be larger than 64 MiB, the most Pixmorph reads; export fewer frames.";
inline constexpr std::string_view kAnimationNotWritten = "%1 could not be made: out of memory.";
inline constexpr std::string_view kFramesPastEnd =
    "%1 has %2 frames: the frames asked for reach past its last, frame %3.";
inline constexpr std::string_view kPartialList =
    "%1 holds %2 of the sprite's %3 frames.\nCompile it with --partial to make a sprite of "
    "these frames alone.";
inline constexpr std::string_view kUncompressedAmbiguous =
    "%1 was not written: its frames stored uncompressed would read back as run-length rows.";

// The main window; values that do not fit their fields are refused, never cut.
inline constexpr std::string_view kOutputFolderTitle = "Set Output directory";
inline constexpr std::string_view kStoredLocationTooLong =
    "The stored location %1 is longer than 511 characters\nand was not used.";
inline constexpr std::string_view kStartupFileTooLong =
    "The file name on the command line is longer than 127 characters:\n%1";
inline constexpr std::string_view kPathTooLong =
    "This path is longer than 511 characters and cannot be kept:\n%1";
} // namespace msg

// The text with "%1", "%2", ... replaced by the values in order; a place without a value (or a
// '%' before anything else) stays as written.
inline std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 1 < text.size() && text[at + 1] >= '1' && text[at + 1] <= '9') {
            const auto place = static_cast<std::size_t>(text[at + 1] - '1');
            if (place < values.size()) {
                out += values.begin()[place];
                ++at;
                continue;
            }
        }
        out += text[at];
    }
    return out;
}

inline std::string fillIn(std::string_view text, std::string_view value) {
    return fillIn(text, {value});
}

} // namespace pixmorph
