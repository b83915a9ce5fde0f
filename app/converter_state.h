#pragma once
// The main window's single state record: stored locations, start-up data, preview state, the
// texts of the controls, options, the current palette and the decoded frame.

#include "core/grp_format.h"
#include "core/palette.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pixmorph {

class ControlOps;

// Longest texts the location fields and the start-up file name hold.
inline constexpr std::size_t kLocationLimit = 511;
inline constexpr std::size_t kStartupFileLimit = 127;
inline constexpr std::size_t kNumberTextLimit = 32;

// Whether a text fits a location field (paths of the four stored locations).
bool fitsLocationField(std::string_view text);
// Whether a text fits the start-up file field.
bool fitsStartupFileField(std::string_view text);

// The four stored locations, read at start-up and written back at exit.
struct StoredLocations {
    std::string archivePath;
    std::string paletteLocation;
    std::string fileListPath;
    std::string outputDir;
};

// The file named on the command line, loaded by the first paint after initialisation.
struct StartupFile {
    std::string file;
    bool initDone = false;
    bool fileDone = false;
};

// The sprite in the preview: its frames and the decoded frame.
struct ShownSprite {
    std::int32_t frameCount = 0;
    std::int32_t currentFrame = 0;
    bool grpSelected = false;
    bool clearPreview = false;
    FrameCanvas canvas;
};

// The texts and check boxes bound to the window's controls.
struct BoundFields {
    std::string grpNameText;
    std::string outputDirText;
    std::string paletteNameText;
    std::string frameCountText;
    std::string widthText;
    std::string heightText;
    std::string frameNumberText;
    bool scale = false;
    bool flatNameFormat = false;
};

struct ConverterState {
    StoredLocations locations;
    StartupFile startup;
    ShownSprite shown;
    BoundFields fields;
    // The preview draws in it; each job takes a copy.
    Palette palette;

    // Copies every bound field into its control, in the binding order.
    void refreshControls(ControlOps& controls) const;
    // Copies the controls into their fields; only the two check boxes can change.
    void readControls(const ControlOps& controls);
};

} // namespace pixmorph
