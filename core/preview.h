#pragma once
// The preview's geometry and its fit-to-box rule.

namespace pixmorph {

inline constexpr int kPreviewLeft = 285;
inline constexpr int kPreviewTop = 15;
inline constexpr int kPreviewWidth = 148;
inline constexpr int kPreviewHeight = 223;

struct DrawnSize {
    int width = 0;
    int height = 0;
    bool operator==(const DrawnSize&) const = default;
};

// The size a frame box of width x height is drawn at: its own size when it fits and scale is
// off, else enlarged or reduced until it touches the box's right or bottom edge; computed in
// floating point and truncated.
DrawnSize fitToPreview(int width, int height, bool scale);

} // namespace pixmorph
