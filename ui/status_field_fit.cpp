#include "ui/status_field_fit.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

namespace pixmorph::ui {

namespace {

// The left edge of the nearest control to the field's right on its rows, or the parent's edge.
int roomTo(const QLineEdit& field) {
    const QWidget* parent = field.parentWidget();
    int limit = parent ? parent->width() : field.geometry().right() + 1;
    for (const QObject* object : parent ? parent->children() : QObjectList()) {
        const auto* sibling = qobject_cast<const QWidget*>(object);
        if (!sibling || sibling == &field || sibling->isWindow())
            continue;
        const QRect other = sibling->geometry();
        const bool sameRows =
            other.top() <= field.geometry().bottom() && other.bottom() >= field.geometry().top();
        if (sameRows && other.left() > field.geometry().left())
            limit = std::min(limit, other.left());
    }
    return limit;
}

} // namespace

void growToFitText(QLineEdit& field) {
    const int templateWidth = field.width();
    QObject::connect(&field, &QLineEdit::textChanged, &field, [&field, templateWidth] {
        QStyleOptionFrame option;
        option.initFrom(&field);
        const QMargins text = field.textMargins();
        // The edit's own horizontal margin (2 pixels a side) and its frame.
        const int needed =
            field.fontMetrics().horizontalAdvance(field.text()) + 4 + text.left() + text.right() +
            2 * field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field) *
                field.hasFrame();
        const int room = roomTo(field) - field.x();
        field.resize(std::clamp(needed, templateWidth, std::max(room, templateWidth)),
                     field.height());
        field.setCursorPosition(0);
    });
}

} // namespace pixmorph::ui
