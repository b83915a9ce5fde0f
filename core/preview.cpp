#include "core/preview.h"

#include <algorithm>

namespace pixmorph {

DrawnSize fitToPreview(int width, int height, bool scale) {
    if (width <= 0 || height <= 0)
        return {0, 0};
    double factor = 1.0;
    if (scale || width > kPreviewWidth || height > kPreviewHeight)
        factor = std::min(static_cast<double>(kPreviewWidth) / width,
                          static_cast<double>(kPreviewHeight) / height);
    return {static_cast<int>(width * factor), static_cast<int>(height * factor)};
}

} // namespace pixmorph
