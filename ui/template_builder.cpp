#include "ui/template_builder.h"

#include "ui/archive_list.h"
#include "ui/clip_player.h"
#include "ui/resources.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace pixmorph::ui {

QRect dialogRect(int x, int y, int width, int height) {
    const int left = dialogUnitsToPixelsX(x);
    const int top = dialogUnitsToPixelsY(y);
    return QRect(left, top, dialogUnitsToPixelsX(x + width) - left,
                 dialogUnitsToPixelsY(y + height) - top);
}

QSize clientSize(const WindowTemplate& window) {
    return dialogRect(0, 0, window.width, window.height).size();
}

QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.0);
    return font;
}

namespace {

QString templateText(const ControlTemplate& control) {
    return control.text ? QString::fromUtf8(control.text) : QString();
}

QWidget* makeLabel(QWidget& parent, const ControlTemplate& control) {
    auto* label = new QLabel(templateText(control), &parent);
    label->setAlignment(Qt::AlignLeft |
                        ((control.style & kVerticallyCentred) ? Qt::AlignVCenter : Qt::AlignTop));
    return label;
}

QWidget* makeEdit(QWidget& parent, const ControlTemplate& control) {
    auto* edit = new QLineEdit(&parent);
    edit->setReadOnly(true);
    edit->setFrame((control.style & kBorder) != 0);
    edit->setAlignment((control.style & kCentred) ? Qt::AlignCenter : Qt::AlignLeft);
    edit->setTextMargins(1, 0, 1, 0);
    // Read-only fields take the window's colour, so they read as shown values, not inputs.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

// A bitmap shown at its own size from the template's top-left corner.
QWidget* makePicture(QWidget& parent, const ControlTemplate& control, const QPixmap& pixmap) {
    auto* picture = new QLabel(&parent);
    picture->setPixmap(pixmap);
    int frame = 0;
    if (control.style & kSunken) {
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture->setLineWidth(1);
        frame = 1;
    }
    const QRect area = dialogRect(control.x, control.y, control.width, control.height);
    picture->setGeometry(QRect(area.topLeft(), pixmap.size() + QSize(2 * frame, 2 * frame)));
    return picture;
}

QWidget* makeControl(QWidget& parent, const ControlTemplate& control) {
    switch (control.kind) {
    case ControlKind::pushButton:
    case ControlKind::defaultPushButton: {
        auto* button = new QPushButton(templateText(control), &parent);
        button->setDefault(control.kind == ControlKind::defaultPushButton);
        return button;
    }
    case ControlKind::checkBox:
        return new QCheckBox(templateText(control), &parent);
    case ControlKind::edit:
        return makeEdit(parent, control);
    case ControlKind::label:
        return makeLabel(parent, control);
    case ControlKind::groupBox:
        return new QGroupBox(templateText(control), &parent);
    case ControlKind::picture:
        return makePicture(parent, control, pictureResource(control.resource));
    case ControlKind::icon:
        return makePicture(parent, control, iconResource(control.resource).pixmap(32, 32));
    case ControlKind::dropDownList:
        return new ArchiveList(&parent);
    case ControlKind::progressBar: {
        auto* bar = new QProgressBar(&parent);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::animation:
        return new ClipPlayer(&parent, (control.style & kCentred) != 0,
                              (control.style & kBorder) != 0);
    }
    return nullptr;
}

void place(QWidget& widget, const ControlTemplate& control) {
    QRect area = dialogRect(control.x, control.y, control.width, control.height);
    switch (control.kind) {
    case ControlKind::picture:
    case ControlKind::icon:
        return; // sized by its picture
    case ControlKind::dropDownList: {
        // The template's height is the opened list's; the closed box has the font's height.
        auto& list = static_cast<ArchiveList&>(widget);
        const int closed = std::min(list.sizeHint().height(), 24);
        const int item = list.fontMetrics().height() + 2;
        list.setMaxVisibleItems(std::max(1, (area.height() - closed) / item));
        area.setHeight(closed);
        break;
    }
    case ControlKind::label:
    case ControlKind::checkBox:
        // Lines break only where the text says; a text wider in this font than in the
        // system's grows rather than wraps.
        area.setWidth(std::max(area.width(), widget.sizeHint().width()));
        break;
    default:
        break;
    }
    widget.setGeometry(area);
}

} // namespace

std::vector<std::pair<int, QWidget*>> buildControls(QWidget& parent,
                                                    std::span<const ControlTemplate> controls) {
    std::vector<std::pair<int, QWidget*>> built;
    built.reserve(controls.size());
    for (const ControlTemplate& control : controls) {
        QWidget* widget = makeControl(parent, control);
        widget->setProperty(kControlIdProperty, control.id);
        if (control.id != kNoId)
            widget->setObjectName(QStringLiteral("control%1").arg(control.id));
        place(*widget, control);
        widget->setEnabled((control.style & kDisabled) == 0);
        built.emplace_back(control.id, widget);
    }
    // Creation order is the focus chain already; stating it keeps it so if the code changes.
    QWidget* previous = nullptr;
    for (const auto& [id, widget] : built) {
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    return built;
}

} // namespace pixmorph::ui
