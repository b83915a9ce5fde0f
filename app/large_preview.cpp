#include "app/large_preview.h"

#include "app/converter_state.h"
#include "app/settings_store.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

namespace pixmorph {

namespace {

constexpr int kMinWidth = 160;
constexpr int kMinHeight = 120;
constexpr int kMaxSide = 4096;

std::optional<int> number(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int readNumber(SettingsStore& store, const char* name, int fallback, int low, int high) {
    const std::optional<int> value = number(store.getString(kLargePreviewSection, name, ""));
    return value && *value >= low && *value <= high ? *value : fallback;
}

// The sprite's size as the window shows it; the canvas holds at most this much.
int sideFromText(const std::string& text, int limit) {
    return std::clamp(number(text).value_or(0), 0, limit);
}

} // namespace

int clampZoom(int zoom) {
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

LargePreviewSettings readLargePreviewSettings(SettingsStore& store) {
    const LargePreviewSettings defaults;
    LargePreviewSettings settings;
    settings.width = readNumber(store, "width", defaults.width, kMinWidth, kMaxSide);
    settings.height = readNumber(store, "height", defaults.height, kMinHeight, kMaxSide);
    settings.zoom = readNumber(store, "zoom", defaults.zoom, kMinZoom, kMaxZoom);
    return settings;
}

void writeLargePreviewSettings(SettingsStore& store, const LargePreviewSettings& settings) {
    store.setString(kLargePreviewSection, "width", std::to_string(settings.width));
    store.setString(kLargePreviewSection, "height", std::to_string(settings.height));
    store.setString(kLargePreviewSection, "zoom", std::to_string(clampZoom(settings.zoom)));
}

SpritePicture spritePicture(const ConverterState& state) {
    SpritePicture picture;
    if (state.fields.frameCountText.empty())
        return picture; // no sprite shown
    picture.width = sideFromText(state.fields.widthText, FrameCanvas::kColumns);
    picture.height = sideFromText(state.fields.heightText, FrameCanvas::kRows);
    picture.pixels.reserve(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const auto index = static_cast<std::uint8_t>(state.shown.canvas.at(x, y));
            const std::uint32_t colour = state.palette.entries[index];
            picture.pixels.push_back(index == 0
                                         ? 0u
                                         : 0xFF000000u | Palette::red(colour) << 16 |
                                               Palette::green(colour) << 8 | Palette::blue(colour));
        }
    return picture;
}

ViewRect pictureInView(int viewWidth, int viewHeight, int spriteWidth, int spriteHeight, int zoom) {
    const int scale = clampZoom(zoom);
    ViewRect rect;
    rect.width = std::max(spriteWidth, 0) * scale;
    rect.height = std::max(spriteHeight, 0) * scale;
    rect.left = (viewWidth - rect.width) / 2;
    rect.top = (viewHeight - rect.height) / 2;
    return rect;
}

} // namespace pixmorph
