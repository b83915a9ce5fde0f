#include "app/show_frame.h"

#include "app/converter_state.h"
#include "app/window_ops.h"
#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/grp_name.h"
#include "core/preview.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pixmorph {

namespace {

// The entry of the frame to show, or nullopt when the index lies outside the frame count (or
// the table ends early): nothing past the frame table is ever read.
std::optional<FrameEntry> entryToShow(Bytes file, const SpriteHeader& header, std::int32_t index) {
    if (index < 0 || index >= header.frameCount)
        return std::nullopt;
    return readFrameEntry(file, static_cast<std::size_t>(index));
}

void drawFrame(const ConverterState& state, const FrameEntry& entry, PreviewSurface& preview) {
    for (int x = 0; x < entry.width; ++x)
        for (int y = 0; y < entry.height; ++y) {
            const auto index = static_cast<std::uint8_t>(
                state.shown.canvas.at(entry.xOffset + x, entry.yOffset + y));
            preview.setPixel(x, y, state.palette.entries[index]);
        }
    const DrawnSize drawn = fitToPreview(entry.width, entry.height, state.fields.scale);
    if (drawn.width > 0 && drawn.height > 0)
        preview.stretchToWindow(entry.width, entry.height, kPreviewLeft, kPreviewTop, drawn.width,
                                drawn.height);
}

} // namespace

void showFrame(ConverterState& state, const FrameWindow& window, FrameRequest request) {
    state.readControls(window.controls);
    window.controls.repaintNow();
    if (state.fields.grpNameText.empty())
        return;
    if (!hasGrpName(state.fields.grpNameText)) {
        window.messages.showMessage(std::string(msg::kNotGrp));
        return;
    }

    const FileReadResult read = readWholeFile(state.fields.grpNameText);
    if (!read.ok()) {
        if (request == FrameRequest::command)
            window.messages.showMessage(fileErrorMessage(read.error, state.fields.grpNameText),
                                        MessageIcon::stop);
        return;
    }
    const Bytes file(read.data);

    PreviewSurface& preview = window.preview;
    preview.beginFrame();
    if (state.shown.clearPreview) {
        preview.fillPreviewBlack();
        state.shown.clearPreview = false;
    }

    // A file too short for its header reads as a sprite of no frames and no size.
    const SpriteHeader header = readSpriteHeader(file).value_or(SpriteHeader{});
    if (state.shown.currentFrame == 0)
        state.shown.frameCount = header.frameCount;
    const std::optional<FrameEntry> entry = entryToShow(file, header, state.shown.currentFrame);
    if (entry)
        decodeFrame(file, *entry, state.shown.canvas, detectSpriteEncoding(file));
    else
        state.shown.canvas.clear();

    preview.fillPreviewBlack();
    if (entry)
        drawFrame(state, *entry, preview);

    state.fields.widthText = std::to_string(header.width);
    state.fields.heightText = std::to_string(header.height);
    state.fields.frameCountText = std::to_string(header.frameCount);
    state.fields.frameNumberText = std::to_string(state.shown.currentFrame);
    state.refreshControls(window.controls);
    window.controls.repaintNow();
    preview.endFrame();
}

} // namespace pixmorph
