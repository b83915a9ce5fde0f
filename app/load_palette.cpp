#include "app/load_palette.h"

#include "app/converter_state.h"
#include "app/show_frame.h"
#include "app/window_ops.h"
#include "core/file_io.h"
#include "core/palette.h"
#include "core/palette_kind_name.h"

#include <optional>
#include <string>

namespace pixmorph {

namespace {

struct PaletteOutcome {
    std::string displayName;
    std::optional<Palette> colours;      // nullopt: the colours stay as they are
    std::optional<std::string> location; // set when a palette file was read
    std::string message;
};

PaletteOutcome outcomeOf(const std::string& path, const PaletteFile& file) {
    const std::string fileName = paletteFileName(path);
    switch (file.kind) {
    case PaletteFileKind::notRecognised:
        return {std::string(kDefaultPaletteName), DefaultPalette, std::nullopt,
                std::string(msg::kPaletteUnknown)};
    case PaletteFileKind::jascNot256:
        return {std::string(kDefaultPaletteName), DefaultPalette, std::nullopt,
                std::string(msg::kPaletteNot256)};
    default:
        return {fileName + " - " + std::string(paletteKindName(file.kind)), file.palette, path, {}};
    }
}

} // namespace

void loadPalette(ConverterState& state, const FrameWindow& window, PickerOps& pickers) {
    const bool atStartup = !state.startup.initDone && !state.locations.paletteLocation.empty();
    const std::string path =
        atStartup ? state.locations.paletteLocation : pickers.pickExistingFile(palettePicker());

    PaletteOutcome outcome; // no file chosen, or not a palette name: only the name is cleared
    if (!path.empty() && isPaletteFileName(path)) {
        // A path the location field cannot hold would be lost at exit; refuse it whole.
        if (!fitsLocationField(path)) {
            window.messages.showMessage(fillIn(msg::kPathTooLong, path));
            return;
        }
        const FileReadResult read = readWholeFile(path);
        if (!read.ok()) {
            // Nothing changes; at start-up the built-in palette (already in place) stays.
            window.messages.showMessage(fileErrorMessage(read.error, path), MessageIcon::stop);
            if (atStartup) {
                state.palette = DefaultPalette;
                state.fields.paletteNameText = std::string(kDefaultPaletteName);
                state.refreshControls(window.controls);
            }
            return;
        }
        outcome = outcomeOf(path, readPaletteFile(read.data, path));
    }

    if (!outcome.message.empty())
        window.messages.showMessage(outcome.message);
    if (outcome.colours)
        state.palette = *outcome.colours;
    if (outcome.location)
        state.locations.paletteLocation = *outcome.location;
    state.fields.paletteNameText = outcome.displayName;
    state.refreshControls(window.controls);
    window.controls.repaintNow();
    if (!state.fields.grpNameText.empty()) {
        state.shown.currentFrame = 0;
        showFrame(state, window);
    }
}

} // namespace pixmorph
