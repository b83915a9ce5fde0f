#pragma once
// The program's pictures, icon groups and animation clips, by resource number.

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <vector>

namespace pixmorph::ui {

inline constexpr int kProgramIcon = 128;
inline constexpr int kDocumentIcon = 149;

// Pictures 135 to 138; a null pixmap for any other number.
QPixmap pictureResource(int number);

// Icon group 128 (16, 32 and 48 pixels) or 149 (32 pixels).
QIcon iconResource(int number);

// The PNG bytes of one image of an icon group, e.g. for the desktop's icon theme; empty when
// the group has no image of that size.
QByteArray iconPngBytes(int number, int size);

struct Clip {
    std::vector<QImage> frames;
    int framesPerSecond = 0;
    QSize frameSize;
};

// Clips 141 (18 frames of 94 x 100 at 10 per second) and 148 (18 of 100 x 75 at 9); an empty
// clip for any other number.
Clip clipResource(int number);

} // namespace pixmorph::ui
