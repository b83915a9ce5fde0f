#include "ui/large_preview_window.h"

#include "ui/qt_settings_store.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

namespace pixmorph::ui {

namespace {

constexpr int kCheckerCell = 8;

void paintCheckerboard(QPainter& painter, const QRect& area) {
    painter.fillRect(area, QColor(0xcc, 0xcc, 0xcc));
    for (int y = area.top(); y <= area.bottom(); y += kCheckerCell)
        for (int x = area.left() + ((y - area.top()) / kCheckerCell % 2) * kCheckerCell;
             x <= area.right(); x += 2 * kCheckerCell)
            painter.fillRect(QRect(x, y, kCheckerCell, kCheckerCell) & area,
                             QColor(0x99, 0x99, 0x99));
}

} // namespace

LargePreviewWindow::LargePreviewWindow(const ConverterState& state, QWidget* owner)
    : QWidget(owner, Qt::Window), state_(state) {
    setWindowTitle(QString::fromLatin1(kLargePreviewTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    QtSettingsStore store;
    const LargePreviewSettings settings = readLargePreviewSettings(store);
    resize(settings.width, settings.height);
    zoom_ = settings.zoom;
    refresh();
}

void LargePreviewWindow::refresh() {
    const SpritePicture sprite = spritePicture(state_);
    picture_ = QImage(sprite.width, sprite.height, QImage::Format_ARGB32);
    for (int y = 0; y < sprite.height; ++y)
        for (int x = 0; x < sprite.width; ++x)
            picture_.setPixel(x, y, sprite.pixels[static_cast<std::size_t>(y) * sprite.width + x]);
    update();
}

void LargePreviewWindow::setZoom(int zoom) {
    zoom_ = clampZoom(zoom);
    update();
}

void LargePreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const ViewRect at =
        pictureInView(width(), height(), picture_.width(), picture_.height(), zoom_);
    const QRect target(at.left, at.top, at.width, at.height);
    if (target.isEmpty())
        return;
    paintCheckerboard(painter, target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false); // nearest neighbour
    painter.drawImage(target, picture_);
    painter.setPen(QPen(Qt::red, 1));
    painter.drawRect(target.adjusted(-1, -1, 0, 0));
}

void LargePreviewWindow::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0)
        setZoom(zoom_ + notches);
    event->accept();
}

void LargePreviewWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        setZoom(zoom_ + 1);
        break;
    case Qt::Key_Minus:
        setZoom(zoom_ - 1);
        break;
    case Qt::Key_Left:
        emit stepRequested(-1);
        break;
    case Qt::Key_Right:
        emit stepRequested(1);
        break;
    case Qt::Key_Space:
        emit playRequested();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

LargePreviewWindow::~LargePreviewWindow() {
    // Closed, or going with the main window: either way its size and zoom are kept.
    QtSettingsStore store;
    writeLargePreviewSettings(store, {width(), height(), zoom_});
}

} // namespace pixmorph::ui
