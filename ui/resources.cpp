#include "ui/resources.h"

#include <QFile>
#include <QString>

// Outside the namespace, as the resource initialiser requires. The resources are linked from a
// static library, so nothing would pull them in without this call.
static void initialiseResources() {
    Q_INIT_RESOURCE(pixmorph);
}

namespace pixmorph::ui {

namespace {

void ensureResources() {
    static const bool done = (initialiseResources(), true);
    (void)done;
}

struct IconImage {
    int group;
    int size;
    const char* path;
};

// The best image of each size: the 256-colour one where a size has two.
constexpr IconImage kIconImages[] = {
    {kProgramIcon, 16, ":/icons/128-16x16-16.png"},
    {kProgramIcon, 32, ":/icons/128-32x32-256.png"},
    {kProgramIcon, 48, ":/icons/128-48x48-256.png"},
    {kDocumentIcon, 32, ":/icons/149-32x32-16.png"},
};

struct ClipInfo {
    int number;
    int frameWidth;
    int frameHeight;
    int framesPerSecond;
};

constexpr ClipInfo kClips[] = {
    {141, 94, 100, 10},
    {148, 100, 75, 9},
};

} // namespace

QPixmap pictureResource(int number) {
    ensureResources();
    if (number < 135 || number > 138)
        return {};
    return QPixmap(QStringLiteral(":/pictures/%1.png").arg(number));
}

QIcon iconResource(int number) {
    ensureResources();
    QIcon icon;
    for (const IconImage& image : kIconImages)
        if (image.group == number)
            icon.addFile(QString::fromLatin1(image.path), QSize(image.size, image.size));
    return icon;
}

QByteArray iconPngBytes(int number, int size) {
    ensureResources();
    for (const IconImage& image : kIconImages) {
        if (image.group != number || image.size != size)
            continue;
        QFile file(QString::fromLatin1(image.path));
        if (file.open(QIODevice::ReadOnly))
            return file.readAll();
    }
    return {};
}

Clip clipResource(int number) {
    ensureResources();
    Clip clip;
    for (const ClipInfo& info : kClips) {
        if (info.number != number)
            continue;
        const QImage strip = QImage(QStringLiteral(":/clips/%1.png").arg(number))
                                 .convertToFormat(QImage::Format_ARGB32);
        clip.framesPerSecond = info.framesPerSecond;
        clip.frameSize = QSize(info.frameWidth, info.frameHeight);
        for (int x = 0; x + info.frameWidth <= strip.width(); x += info.frameWidth)
            clip.frames.push_back(strip.copy(x, 0, info.frameWidth, info.frameHeight));
    }
    return clip;
}

} // namespace pixmorph::ui
