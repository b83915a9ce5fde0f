#include "web/module/sprite_view.h"

#include <algorithm>

namespace pixmorph::web {

bool SpriteView::open(ByteVector file) {
    const auto header = readSpriteHeader(file);
    if (!header) {
        *this = SpriteView{};
        return false;
    }
    file_ = std::move(file);
    header_ = *header;
    encoding_ = detectSpriteEncoding(file_);
    return true;
}

int SpriteView::width() const {
    return std::min<int>(header_.width, FrameCanvas::kColumns);
}

int SpriteView::height() const {
    return std::min<int>(header_.height, FrameCanvas::kRows);
}

void SpriteView::render(int index) {
    box_ = FrameEntry{};
    canvas_.clear();
    if (index >= 0 && index < header_.frameCount) {
        if (const auto entry = readFrameEntry(file_, static_cast<std::size_t>(index))) {
            box_ = *entry;
            decodeFrame(file_, *entry, canvas_, encoding_);
        }
    }
    const int w = width(), h = height();
    pixels_.assign(static_cast<std::size_t>(w) * h * 4, 0);
    auto out = pixels_.begin();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, out += 4) {
            const auto index = static_cast<std::uint8_t>(canvas_.at(x, y));
            if (index == 0)
                continue; // transparent
            const std::uint32_t colour = palette_.entries[index];
            out[0] = Palette::red(colour);
            out[1] = Palette::green(colour);
            out[2] = Palette::blue(colour);
            out[3] = 0xFF;
        }
}

} // namespace pixmorph::web
