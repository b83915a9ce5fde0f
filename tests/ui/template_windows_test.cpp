#include "app/control_ids.h"
#include "core/preview.h"
#include "ui/template_builder.h"
#include "ui/template_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <vector>

namespace pixmorph::ui {
namespace {

// The widget class each template kind must become.
const char* widgetClass(ControlKind kind) {
    switch (kind) {
    case ControlKind::pushButton:
    case ControlKind::defaultPushButton:
        return "QPushButton";
    case ControlKind::checkBox:
        return "QCheckBox";
    case ControlKind::edit:
        return "QLineEdit";
    case ControlKind::groupBox:
        return "QGroupBox";
    case ControlKind::dropDownList:
        return "QComboBox";
    case ControlKind::progressBar:
        return "QProgressBar";
    case ControlKind::animation:
        return "pixmorph::ui::ClipPlayer";
    default:
        return "QLabel";
    }
}

struct WindowCase {
    const char* name;
    const WindowTemplate& (*get)();
    const char* title;
    QSize client;
};

const WindowCase kWindows[] = {
    {"main", mainWindowTemplate, "GRP <--> BMP  Converter v1.85", {449, 387}},
    {"exportChoice", exportChoiceTemplate, "Extract Bitmaps", {176, 101}},
    {"about", aboutTemplate, "About The Prog", {272, 141}},
    {"splash", splashTemplate, "", {320, 296}},
    {"compileJob", compileJobTemplate, "", {134, 171}},
    {"exportJob", exportJobTemplate, "", {135, 166}},
};

void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

class TemplateWindows : public ::testing::TestWithParam<WindowCase> {};

TEST_P(TemplateWindows, BuildEveryControlAsTheTableGivesIt) {
    const WindowCase& c = GetParam();
    const WindowTemplate& window = c.get();
    TemplateDialog dialog(window, nullptr);

    EXPECT_EQ(std::string(window.title), std::string(c.title));
    EXPECT_EQ(clientSize(window), c.client);
    EXPECT_EQ(dialog.client().size(), c.client);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed size";

    const QList<QWidget*> children =
        dialog.client().findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::vector<QWidget*> built;
    for (QWidget* child : children)
        if (child->property(kControlIdProperty).isValid())
            built.push_back(child);
    ASSERT_EQ(built.size(), window.controls.size());

    for (std::size_t i = 0; i < built.size(); ++i) {
        const ControlTemplate& control = window.controls[i];
        QWidget* widget = built[i];
        SCOPED_TRACE(testing::Message() << c.name << " control " << i << " id " << control.id);
        EXPECT_EQ(widget->property(kControlIdProperty).toInt(), control.id);
        if (control.id != kNoId) {
            EXPECT_EQ(dialog.control(control.id), widget);
        }
        EXPECT_EQ(widget->pos(), dialogRect(control.x, control.y, 1, 1).topLeft());
        EXPECT_EQ(widget->isEnabled(), (control.style & kDisabled) == 0);
        ASSERT_TRUE(widget->inherits(widgetClass(control.kind)));
        if (control.kind == ControlKind::picture || control.kind == ControlKind::icon) {
            EXPECT_FALSE(qobject_cast<QLabel*>(widget)->pixmap().isNull()) << control.resource;
        } else if (control.text && control.kind != ControlKind::edit) {
            const char* property = control.kind == ControlKind::groupBox ? "title" : "text";
            EXPECT_EQ(widget->property(property).toString(), QString::fromUtf8(control.text));
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->isDefault(), control.kind == ControlKind::defaultPushButton);
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_TRUE(edit->isReadOnly());
        }
    }
}

TEST_P(TemplateWindows, TabOrderFollowsTheTemplate) {
    const WindowTemplate& window = GetParam().get();
    TemplateDialog dialog(window, nullptr);
    std::vector<QWidget*> focusable;
    for (const ControlTemplate& control : window.controls) {
        if (control.id == kNoId)
            continue;
        QWidget* widget = dialog.control(control.id);
        if (widget->focusPolicy() & Qt::TabFocus)
            focusable.push_back(widget);
    }
    ASSERT_FALSE(focusable.empty());
    for (std::size_t i = 0; i + 1 < focusable.size(); ++i) {
        QWidget* next = focusable[i]->nextInFocusChain();
        while (next && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        EXPECT_EQ(next, focusable[i + 1]) << "after " << focusable[i]->objectName().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(AllWindows, TemplateWindows, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindowTemplate, PicturesHaveTheirSizesAndThePreviewBoxLiesInsideItsBackdrop) {
    TemplateDialog dialog(mainWindowTemplate(), nullptr);
    std::vector<QSize> sizes;
    for (auto* label : dialog.findChildren<QLabel*>()) {
        if (label->pixmap().isNull())
            continue;
        sizes.push_back(label->pixmap().size());
        if (sizes.back() == QSize(150, 226)) {
            EXPECT_EQ(label->geometry(), QRect(284, 13, 150, 226));
            EXPECT_TRUE(label->geometry().contains(
                QRect(kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight)));
        }
    }
    EXPECT_EQ(sizes, (std::vector<QSize>{{128, 128}, {150, 226}, {48, 32}}));
}

} // namespace
} // namespace pixmorph::ui
