#pragma once
// Control ids of the windows, as the templates give them.

namespace pixmorph::ids {
// Main window
inline constexpr int kExit = 2;
inline constexpr int kWriteOutBmps = 1000;
inline constexpr int kCompileToGrp = 1004;
inline constexpr int kScale = 1014;
inline constexpr int kGrpName = 1015;
inline constexpr int kLoadExternalFile = 1016;
inline constexpr int kLoadPalette = 1017;
inline constexpr int kLocateArchive = 1019;
inline constexpr int kSetOutputDirectory = 1020;
inline constexpr int kPaletteName = 1021;
inline constexpr int kArchiveList = 1023;
inline constexpr int kOutputDir = 1024;
inline constexpr int kFlatNameFormat = 1026;
inline constexpr int kWidth = 1035;
inline constexpr int kHeight = 1036;
inline constexpr int kFrameCount = 1037;
inline constexpr int kPreviousFrame = 1039;
inline constexpr int kNextFrame = 1040;
inline constexpr int kFrameNumber = 1042;
inline constexpr int kBackTen = 1043;
inline constexpr int kForwardTen = 1044;
inline constexpr int kResetLocations = 1045;
inline constexpr int kAboutCommand = 16;
// The context menu's commands of our own, beside the template's.
inline constexpr int kWriteOutSheetCommand = 1101;
inline constexpr int kCompileCompactCommand = 1102;
// Job windows and the export choice
inline constexpr int kProgress = 1005;
inline constexpr int kAnimation = 1030;
inline constexpr int kJobOk = 1032;
inline constexpr int kExportStatus = 1033;
inline constexpr int kCompileStatus = 1034;
inline constexpr int kChoiceAll = 1;
inline constexpr int kChoiceUnique = 1003;
inline constexpr int kChoiceLarge = 1038;
} // namespace pixmorph::ids
