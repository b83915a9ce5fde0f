#include "app/control_ids.h"
#include "core/preview.h"
#include "ui/template_builder.h"
#include "ui/template_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>
#include <vector>

namespace pixmorph::ui {
namespace {

TEST(DialogUnits, ConvertLikeTheEightPointDialogFont) {
    EXPECT_EQ(dialogUnitsToPixelsX(189), 284); // 283.5 rounds up
    EXPECT_EQ(dialogUnitsToPixelsY(8), 13);
    EXPECT_EQ(dialogUnitsToPixelsX(299), 449);
    EXPECT_EQ(dialogUnitsToPixelsY(238), 387); // 386.75
    EXPECT_EQ(dialogUnitsToPixelsY(1), 2);     // 1.625
    EXPECT_EQ(dialogRect(7, 21, 179, 14), QRect(11, 34, 268, 23));
}

QString expectedText(const ControlTemplate& control) {
    return control.text ? QString::fromUtf8(control.text) : QString();
}

// The widget kind each template kind must become, and the text it shows.
void expectKindAndText(const ControlTemplate& control, QWidget* widget) {
    switch (control.kind) {
    case ControlKind::pushButton:
    case ControlKind::defaultPushButton: {
        auto* button = qobject_cast<QPushButton*>(widget);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->text(), expectedText(control));
        EXPECT_EQ(button->isDefault(), control.kind == ControlKind::defaultPushButton);
        break;
    }
    case ControlKind::checkBox:
        ASSERT_TRUE(qobject_cast<QCheckBox*>(widget));
        EXPECT_EQ(qobject_cast<QCheckBox*>(widget)->text(), expectedText(control));
        EXPECT_FALSE(qobject_cast<QCheckBox*>(widget)->isChecked());
        break;
    case ControlKind::edit: {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        ASSERT_TRUE(edit);
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_EQ(edit->hasFrame(), (control.style & kBorder) != 0);
        EXPECT_TRUE(edit->text().isEmpty());
        break;
    }
    case ControlKind::label:
        ASSERT_TRUE(qobject_cast<QLabel*>(widget));
        EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), expectedText(control));
        break;
    case ControlKind::groupBox:
        ASSERT_TRUE(qobject_cast<QGroupBox*>(widget));
        EXPECT_EQ(qobject_cast<QGroupBox*>(widget)->title(), expectedText(control));
        break;
    case ControlKind::picture:
    case ControlKind::icon: {
        auto* label = qobject_cast<QLabel*>(widget);
        ASSERT_TRUE(label);
        ASSERT_FALSE(label->pixmap().isNull()) << "resource " << control.resource;
        break;
    }
    case ControlKind::dropDownList:
        ASSERT_TRUE(qobject_cast<QComboBox*>(widget));
        EXPECT_EQ(qobject_cast<QComboBox*>(widget)->count(), 0);
        break;
    case ControlKind::progressBar:
        ASSERT_TRUE(qobject_cast<QProgressBar*>(widget));
        break;
    case ControlKind::animation:
        ASSERT_TRUE(widget->inherits("pixmorph::ui::ClipPlayer"));
        break;
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
        expectKindAndText(control, widget);
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

TEST(MainWindowTemplate, PreviewBoxLiesInsideItsBackdrop) {
    TemplateDialog dialog(mainWindowTemplate(), nullptr);
    QLabel* backdrop = nullptr;
    for (auto* label : dialog.findChildren<QLabel*>())
        if (label->pixmap().size() == QSize(150, 226))
            backdrop = label;
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->geometry(), QRect(284, 13, 150, 226));
    const QRect box(kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight);
    EXPECT_TRUE(backdrop->geometry().contains(box));
}

TEST(MainWindowTemplate, PicturesHaveTheirStatedSizes) {
    TemplateDialog dialog(mainWindowTemplate(), nullptr);
    std::vector<QSize> sizes;
    for (auto* label : dialog.findChildren<QLabel*>())
        if (!label->pixmap().isNull())
            sizes.push_back(label->pixmap().size());
    EXPECT_EQ(sizes, (std::vector<QSize>{{128, 128}, {150, 226}, {48, 32}}));
}

} // namespace
} // namespace pixmorph::ui
