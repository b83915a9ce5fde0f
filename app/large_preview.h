#pragma once
// The large preview window's logic: the current frame drawn zoomed (1x to 8x, nearest
// neighbour) and centred in the window, index 0 transparent, the sprite's rectangle outlined;
// its size and zoom remembered in a settings section of its own.

#include <cstdint>
#include <vector>

namespace pixmorph {

struct ConverterState;
class SettingsStore;

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 8;
inline constexpr const char* kLargePreviewSection = "LargePreview";

int clampZoom(int zoom);

struct LargePreviewSettings {
    int width = 512;
    int height = 420;
    int zoom = 3;
    bool operator==(const LargePreviewSettings&) const = default;
};

// Values missing, unreadable or out of range read as the defaults (a size at least 160 x 120
// and at most 4096 x 4096, the zoom clamped).
LargePreviewSettings readLargePreviewSettings(SettingsStore& store);
void writeLargePreviewSettings(SettingsStore& store, const LargePreviewSettings& settings);

// The sprite's rectangle in the current palette, row by row: 0 where the pixel is index 0
// (transparent), else 0xFF000000 | red << 16 | green << 8 | blue.
struct SpritePicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};
SpritePicture spritePicture(const ConverterState& state);

struct ViewRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ViewRect&) const = default;
};

// Where a sprite of spriteWidth x spriteHeight lands in a view of the given size at a zoom:
// centred, possibly larger than the view.
ViewRect pictureInView(int viewWidth, int viewHeight, int spriteWidth, int spriteHeight, int zoom);

} // namespace pixmorph
