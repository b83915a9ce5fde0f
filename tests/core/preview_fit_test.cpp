#include "core/preview.h"

#include <gtest/gtest.h>

namespace pixmorph {

TEST(PreviewFit, SizesOfThePreviewBox) {
    EXPECT_EQ(fitToPreview(100, 100, false), (DrawnSize{100, 100}));
    EXPECT_EQ(fitToPreview(100, 100, true), (DrawnSize{148, 148}));
    EXPECT_EQ(fitToPreview(200, 100, false), (DrawnSize{148, 74}));
    EXPECT_EQ(fitToPreview(148, 250, false), (DrawnSize{132, 223}));
    EXPECT_EQ(fitToPreview(200, 250, true), (DrawnSize{148, 185}));
    EXPECT_EQ(fitToPreview(0, 10, true), (DrawnSize{0, 0}));
}

} // namespace pixmorph
