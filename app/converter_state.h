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

class WindowOps;

// Longest texts the location fields and the start-up file name hold.
inline constexpr std::size_t kLocationLimit = 511;
inline constexpr std::size_t kStartupFileLimit = 127;
inline constexpr std::size_t kNumberTextLimit = 32;

// Whether a text fits a location field (paths of the four stored locations).
bool fitsLocationField(std::string_view text);
// Whether a text fits the start-up file field.
bool fitsStartupFileField(std::string_view text);

struct ConverterState {
    bool clearPreview = false;
    std::int32_t frameCount = 0;
    std::int32_t currentFrame = 0;
    std::string fileListPath;
    bool startupFileDone = false;
    bool initDone = false;
    std::string startupFile;
    std::string paletteLocation;
    bool useStoredArchive = false;
    std::string outputDir;
    bool grpSelected = false;
    FrameCanvas canvas;
    Palette palette;
    std::string archivePath;
    bool scale = false;
    std::string grpNameText;
    std::string outputDirText;
    std::string paletteNameText;
    bool flatNameFormat = false;
    std::string frameCountText;
    std::string widthText;
    std::string heightText;
    std::string frameNumberText;

    // Copies every bound field into its control, in the binding order.
    void refreshControls(WindowOps& window) const;
    // Copies the controls into their fields; only the two check boxes can change.
    void readControls(const WindowOps& window);
};

} // namespace pixmorph
