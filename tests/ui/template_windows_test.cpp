#include "core/preview.h"
#include "ui/template_builder.h"
#include "ui/template_dialog.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace pixmorph::ui {
namespace {

// The built main window keeps the template's fixed size, and the preview box lies where the
// frames are drawn, inside its backdrop picture.
TEST(MainWindowTemplate, FixedSizeAndThePreviewBoxInItsBackdrop) {
    TemplateDialog dialog(mainWindowTemplate(), nullptr);
    EXPECT_EQ(dialog.client().size(), QSize(449, 387));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    int backdrops = 0;
    for (auto* label : dialog.findChildren<QLabel*>())
        if (label->pixmap().size() == QSize(150, 226)) {
            ++backdrops;
            EXPECT_EQ(label->geometry(), QRect(284, 13, 150, 226));
            EXPECT_TRUE(label->geometry().contains(
                QRect(kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight)));
        }
    EXPECT_EQ(backdrops, 1);
}

} // namespace
} // namespace pixmorph::ui
