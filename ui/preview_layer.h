#pragma once
// The preview as drawn by showFrame: an off-screen image the frame is painted into pixel by
// pixel, and a layer over the preview box of the window onto which it is copied, stretched.
// The layer keeps what was drawn, so the preview survives repaints (another window passing over
// it) until the next showFrame draws again; before the first frame it is clear and the backdrop
// picture shows through.

#include "app/window_ops.h"

#include <QImage>
#include <QWidget>

namespace pixmorph::ui {

class PreviewLayer : public QWidget {
    Q_OBJECT
public:
    // Covers `area` of the parent, in the parent's coordinates.
    PreviewLayer(QWidget& parent, const QRect& area);

    void fillBlack();
    // Copies `source` of the image to `target` (parent coordinates), stretched, no smoothing.
    void drawStretched(const QImage& image, const QRect& source, const QRect& target);

    const QImage& image() const { return layer_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage layer_;
};

class QtPreviewSurface : public PreviewSurface {
public:
    explicit QtPreviewSurface(PreviewLayer& layer) : layer_(layer) {}

    void beginFrame() override;
    void setPixel(int x, int y, std::uint32_t colour) override;
    void fillPreviewBlack() override;
    void stretchToWindow(int srcWidth, int srcHeight, int left, int top, int width,
                         int height) override;
    void endFrame() override;

private:
    PreviewLayer& layer_;
    QImage offscreen_;
};

// The off-screen image's size; any of at least 255 x 255 would serve.
inline constexpr int kOffscreenWidth = 433;
inline constexpr int kOffscreenHeight = 299;

} // namespace pixmorph::ui
