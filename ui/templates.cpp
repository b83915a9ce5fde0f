#include "ui/templates.h"

#include "app/control_ids.h"
#include "core/version.h"

namespace pixmorph::ui {

namespace {

using K = ControlKind;

constexpr ControlTemplate kMainControls[] = {
    {ids::kExit, K::pushButton, "-=EXIT=-", 111, 127, 69, 28, kPlain, 0},
    {ids::kWriteOutBmps, K::pushButton, "Write Out BMPs", 103, 87, 83, 14, kPlain, 0},
    {kNoId, K::picture, nullptr, 7, 66, 92, 85, kSunken, 135},
    {ids::kCompileToGrp, K::pushButton, "Compile to GRP", 103, 102, 83, 14, kPlain, 0},
    {kNoId, K::picture, nullptr, 189, 8, 100, 139, kPlain, 136},
    {ids::kScale, K::checkBox, "Scale", 190, 148, 34, 10, kPlain, 0},
    {ids::kGrpName, K::edit, nullptr, 7, 21, 179, 14, kPlain, 0},
    {ids::kLoadExternalFile, K::pushButton, "Load External File", 103, 7, 83, 14, kPlain, 0},
    {kNoId, K::picture, nullptr, 129, 65, 32, 20, kPlain, 137},
    {ids::kLoadPalette, K::pushButton, "Load Palette", 153, 164, 46, 14, kPlain, 0},
    {kNoId, K::label, ".GRP File Name", 7, 7, 88, 13, kPlain, 0},
    {kNoId, K::label, "Palette", 7, 164, 38, 14, kVerticallyCentred, 0},
    {ids::kPaletteName, K::edit, nullptr, 47, 164, 100, 14, kBorder, 0},
    {ids::kLocateArchive, K::pushButton, "Locate Archive", 87, 184, 59, 14, kPlain, 0},
    {ids::kArchiveList, K::dropDownList, nullptr, 9, 199, 209, 83, kSorted | kVerticalScroll, 0},
    {kNoId, K::label, "Output Directory", 7, 36, 88, 12, kPlain, 0},
    {ids::kOutputDir, K::edit, nullptr, 7, 49, 179, 14, kBorder, 0},
    {ids::kSetOutputDirectory, K::pushButton, "Set Output Directory", 103, 35, 83, 14, kPlain, 0},
    {kNoId, K::label, "Files In StarDat.MPQ", 9, 184, 75, 14, kVerticallyCentred, 0},
    {ids::kFlatNameFormat, K::checkBox, "'unit_zerg_zergling.grp' Format", 9, 214, 112, 12,
     kMultiLine, 0},
    {kNoId, K::label, "# of Frames", 214, 178, 38, 8, kPlain, 0},
    {kNoId, K::groupBox, "Dimensions", 219, 189, 69, 42, kPlain, 0},
    {kNoId, K::label, "X :", 225, 200, 10, 8, kPlain, 0},
    {kNoId, K::label, "Y :", 225, 215, 10, 8, kPlain, 0},
    {ids::kFrameCount, K::edit, nullptr, 255, 176, 32, 12, kPlain, 0},
    {ids::kWidth, K::edit, nullptr, 242, 198, 40, 14, kPlain, 0},
    {ids::kHeight, K::edit, nullptr, 242, 213, 40, 14, kPlain, 0},
    {ids::kPreviousFrame, K::pushButton, "<", 228, 149, 13, 11, kPlain, 0},
    {ids::kFrameNumber, K::edit, nullptr, 245, 149, 28, 12, kBorder, 0},
    {ids::kNextFrame, K::pushButton, ">", 276, 149, 13, 11, kPlain, 0},
    {kNoId, K::label, "Preview", 192, 0, 56, 8, kPlain, 0},
    {ids::kBackTen, K::pushButton, "<< 10", 228, 163, 26, 12, kPlain, 0},
    {ids::kForwardTen, K::pushButton, "10 >>", 263, 163, 26, 12, kPlain, 0},
    {ids::kResetLocations, K::pushButton, "Reset Locations", 139, 216, 71, 14, kPlain, 0},
};

constexpr ControlTemplate kExportChoiceControls[] = {
    {ids::kChoiceAll, K::defaultPushButton, "All Bitmaps", 7, 7, 103, 14, kPlain, 0},
    {ids::kChoiceUnique, K::pushButton, "Only - Unique Bitmaps", 7, 21, 103, 14, kPlain, 0},
    {ids::kChoiceLarge, K::pushButton, "( One )  Large Bitmap", 7, 41, 103, 14, kDisabled, 0},
};

// The maker's credit is ours to word.
constexpr const char* kAboutCredit = "Pixmorph, by Quillbright\nfree to use and to share";
constexpr const char* kSplashText =
    "StarCraft GRP to Bitmap Converter\nby Quillbright\nv" PIXMORPH_VERSION;

constexpr ControlTemplate kAboutControls[] = {
    {kOkId, K::defaultPushButton, "OK", 142, 7, 32, 14, kPlain, 0},
    {kNoId, K::icon, nullptr, 11, 17, 20, 20, kPlain, 128},
    {kNoId, K::label, "StarCraft .GRP to \nBMP Converter             v" PIXMORPH_VERSION, 52, 22,
     94, 24, kPlain, 0},
    {kNoId, K::label, kAboutCredit, 39, 61, 101, 19, kPlain, 0},
    {kNoId, K::label, "See the help in the ReadMe.txt", 30, 49, 108, 12, kPlain, 0},
    {kNoId, K::picture, nullptr, 142, 50, 32, 30, kPlain, 137},
};

constexpr ControlTemplate kSplashControls[] = {
    {kNoId, K::picture, nullptr, 0, 0, 213, 148, kPlain, 138},
    {kNoId, K::label, kSplashText, 95, 149, 116, 33, kPlain, 0},
    {kOkId, K::defaultPushButton, "OK", 20, 156, 50, 14, kPlain, 0},
};

constexpr ControlTemplate kCompileJobControls[] = {
    {ids::kAnimation, K::animation, nullptr, 9, 7, 73, 67, kCentred | kTransparent | kBorder, 0},
    {ids::kProgress, K::progressBar, nullptr, 7, 90, 75, 8, kBorder, 0},
    {ids::kCompileStatus, K::edit, nullptr, 7, 76, 56, 12, kPlain, 0},
    {ids::kJobOk, K::pushButton, "OK", 67, 74, 15, 14, kDisabled, 0},
};

constexpr ControlTemplate kExportJobControls[] = {
    {ids::kAnimation, K::animation, nullptr, 7, 7, 76, 60, kCentred | kTransparent | kBorder, 0},
    {ids::kProgress, K::progressBar, nullptr, 7, 89, 76, 6, kBorder, 0},
    {ids::kExportStatus, K::edit, nullptr, 7, 69, 30, 12, kCentred, 0},
    {ids::kJobOk, K::pushButton, "Ok", 65, 69, 18, 12, kDisabled, 0},
};

} // namespace

const WindowTemplate& mainWindowTemplate() {
    static const WindowTemplate t{
        kMainTemplate, "GRP <--> BMP  Converter v" PIXMORPH_VERSION, 299,
        238,           kCaption | kSystemMenu | kMinimiseBox,        kMainControls};
    return t;
}

const WindowTemplate& exportChoiceTemplate() {
    static const WindowTemplate t{kExportChoiceTemplate,  "Extract Bitmaps",    117, 62,
                                  kCaption | kModalFrame, kExportChoiceControls};
    return t;
}

const WindowTemplate& aboutTemplate() {
    static const WindowTemplate t{
        kAboutTemplate, "About The Prog", 181, 87, kCaption | kSystemMenu | kModalFrame,
        kAboutControls};
    return t;
}

const WindowTemplate& splashTemplate() {
    static const WindowTemplate t{kSplashTemplate, "", 213, 182, kModalFrame, kSplashControls};
    return t;
}

const WindowTemplate& compileJobTemplate() {
    static const WindowTemplate t{kCompileJobTemplate, "", 89, 105, kModalFrame,
                                  kCompileJobControls};
    return t;
}

const WindowTemplate& exportJobTemplate() {
    static const WindowTemplate t{kExportJobTemplate, "", 90, 102, kModalFrame, kExportJobControls};
    return t;
}

} // namespace pixmorph::ui
