#include "app/converter_state.h"

#include "app/control_ids.h"
#include "app/window_ops.h"

namespace pixmorph {

namespace {

// The number edits hold at most kNumberTextLimit characters, as their controls are limited to.
std::string limitedNumberText(const std::string& text) {
    return text.substr(0, kNumberTextLimit);
}

} // namespace

bool fitsLocationField(std::string_view text) {
    return text.size() <= kLocationLimit;
}

bool fitsStartupFileField(std::string_view text) {
    return text.size() <= kStartupFileLimit;
}

void ConverterState::refreshControls(ControlOps& window) const {
    // The archive list (1023) is bound as a control: its items are managed through the window's
    // list operations, so there is no text to transfer for it.
    window.setChecked(ids::kScale, fields.scale);
    window.setControlText(ids::kGrpName, fields.grpNameText);
    window.setControlText(ids::kOutputDir, fields.outputDirText);
    window.setControlText(ids::kPaletteName, fields.paletteNameText);
    window.setChecked(ids::kFlatNameFormat, fields.flatNameFormat);
    window.setControlText(ids::kFrameCount, limitedNumberText(fields.frameCountText));
    window.setControlText(ids::kWidth, limitedNumberText(fields.widthText));
    window.setControlText(ids::kHeight, limitedNumberText(fields.heightText));
    window.setControlText(ids::kFrameNumber, fields.frameNumberText);
}

void ConverterState::readControls(const ControlOps& window) {
    // Every edit of the window is read-only, so the texts already equal the fields.
    fields.scale = window.isChecked(ids::kScale);
    fields.flatNameFormat = window.isChecked(ids::kFlatNameFormat);
}

} // namespace pixmorph
