// The preview's functions for the page: open a sprite and a palette written into the module's
// file system, then draw frames. A sprite or palette the command line refuses is refused here
// with the command line's message on stderr.
#include "cli/cli_job_delegate.h"
#include "cli/job_command.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "core/palette.h"
#include "core/palette_kind_name.h"
#include "web/module/sprite_view.h"

#include <emscripten/emscripten.h>
#include <string>
#include <string_view>

using namespace pixmorph;

namespace {

web::SpriteView& view() {
    static web::SpriteView instance;
    return instance;
}

} // namespace

extern "C" {

// The sprite's frame count, or -1 after a message when it cannot be read. The page has `info`
// judge the file first; this is the last word for a file that changed in between.
EMSCRIPTEN_KEEPALIVE int pixmorph_open_sprite(const char* path) {
    const FileReadResult read = readWholeFile(path);
    if (!read.ok()) {
        cli::printMessageLine(path, fileErrorMessage(read.error, path));
        return -1;
    }
    if (!view().open(read.data)) {
        cli::printMessageLine(path, fillIn(msg::kGrpTooShort, {path}));
        return -1;
    }
    return view().frameCount();
}

EMSCRIPTEN_KEEPALIVE int pixmorph_sprite_width() {
    return view().width();
}

EMSCRIPTEN_KEEPALIVE int pixmorph_sprite_height() {
    return view().height();
}

// The kind of palette read ("JASC Pal", ...), or null after the command line's message.
EMSCRIPTEN_KEEPALIVE const char* pixmorph_open_palette(const char* path) {
    const std::optional<PaletteFile> palette = cli::readPaletteFileOption(path);
    if (!palette)
        return nullptr;
    view().setPalette(palette->palette);
    // The names are literals, so their bytes end in a 0.
    const std::string_view kind = paletteKindName(palette->kind);
    return kind.empty() ? "" : kind.data();
}

EMSCRIPTEN_KEEPALIVE void pixmorph_default_palette() {
    view().setPalette(DefaultPalette);
}

// Draws the frame and returns its RGBA pixels (sprite width x height x 4 bytes).
EMSCRIPTEN_KEEPALIVE const std::uint8_t* pixmorph_render_frame(int index) {
    view().render(index);
    return view().pixels().data();
}

// The drawn frame's box within the sprite: x, y, width, height.
EMSCRIPTEN_KEEPALIVE const int* pixmorph_frame_box() {
    static int box[4];
    const FrameEntry& entry = view().frameBox();
    box[0] = entry.xOffset;
    box[1] = entry.yOffset;
    box[2] = entry.width;
    box[3] = entry.height;
    return box;
}

} // extern "C"
