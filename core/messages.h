#pragma once
// Every fixed text the program shows the user, in one place.

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
inline constexpr std::string_view kPaletteUnknown = "Unable to determine file type\nusing default.";
inline constexpr std::string_view kPaletteNot256 = "Jasc Palette: not 256 colors \nusing default.";
inline constexpr std::string_view kNotMpq = "This is not an MPQ file\nplease try again";
inline constexpr std::string_view kArchiveFailed = "Errrrrror";
inline constexpr std::string_view kFirstRunRefusal =
    "Please run this once without\ncommand line parameters for initial setup";
inline constexpr std::string_view kExportStatus = "Painting Bitmaps.";
inline constexpr std::string_view kExportFinished = "Finished";
inline constexpr std::string_view kCompileStatus = "Compiling GRP.";
inline constexpr std::string_view kCompileFinished = "Finished.";
inline constexpr std::string_view kAborted = "Aborted.";
inline constexpr std::string_view kVersion = "1.85";
inline constexpr std::string_view kWindowTitle = "GRP <--> BMP  Converter v1.85";
inline constexpr std::string_view kOutputFolderTitle = "Set Output directory";
// Values that do not fit their fields are refused, never cut; %1 names the value.
inline constexpr std::string_view kStoredLocationTooLong =
    "The stored location %1 is longer than 511 characters\nand was not used.";
inline constexpr std::string_view kStartupFileTooLong =
    "The file name on the command line is longer than 127 characters:\n%1";
inline constexpr std::string_view kPathTooLong =
    "This path is longer than 511 characters and cannot be kept:\n%1";
} // namespace msg

} // namespace pixmorph
