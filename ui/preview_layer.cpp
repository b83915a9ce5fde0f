#include "ui/preview_layer.h"

#include "core/palette.h"

#include <QPainter>

namespace pixmorph::ui {

PreviewLayer::PreviewLayer(QWidget& parent, const QRect& area)
    : QWidget(&parent), layer_(area.size(), QImage::Format_ARGB32_Premultiplied) {
    setGeometry(area);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    layer_.fill(Qt::transparent);
    raise();
}

void PreviewLayer::fillBlack() {
    layer_.fill(Qt::black);
    repaint();
}

void PreviewLayer::drawStretched(const QImage& image, const QRect& source, const QRect& target) {
    {
        QPainter painter(&layer_);
        painter.drawImage(target.translated(-pos()), image, source);
    }
    repaint();
}

void PreviewLayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, layer_);
}

void QtPreviewSurface::beginFrame() {
    offscreen_ = QImage(kOffscreenWidth, kOffscreenHeight, QImage::Format_RGB32);
    offscreen_.fill(Qt::black);
}

void QtPreviewSurface::setPixel(int x, int y, std::uint32_t colour) {
    if (offscreen_.valid(x, y))
        offscreen_.setPixel(
            x, y, qRgb(Palette::red(colour), Palette::green(colour), Palette::blue(colour)));
}

void QtPreviewSurface::fillPreviewBlack() {
    layer_.fillBlack();
}

void QtPreviewSurface::stretchToWindow(int srcWidth, int srcHeight, int left, int top, int width,
                                       int height) {
    if (offscreen_.isNull())
        return;
    layer_.drawStretched(offscreen_, QRect(0, 0, srcWidth, srcHeight),
                         QRect(left, top, width, height));
}

void QtPreviewSurface::endFrame() {
    offscreen_ = QImage();
}

} // namespace pixmorph::ui
