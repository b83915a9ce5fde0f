// Draws the demo sprites in code and writes them with the project's own writer:
//   orb.grp     a lit sphere with a beacon that turns through 17 directions, then turns back
//               through four frames that repeat earlier ones (they share their data);
//   beacon.grp  a small one-frame tower with a lamp;
//   planet.grp  one frame near the largest box a frame can hold.
// Colours are ramps of the default palette: blues 192-199, greens 184-191, reds 168-178,
// greys 138-144 and yellows 135-137.
#include "core/file_io.h"
#include "core/grp_format.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

using namespace pixmorph;

namespace {

// Calls paint(x, y, depth) for each pixel of a disc; depth is 1 at the centre, 0 at the rim.
void disc(double cx, double cy, double radius, const std::function<void(int, int, double)>& paint) {
    for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius) + 1; ++y)
        for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius) + 1; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double d2 = dx * dx + dy * dy;
            if (d2 <= radius * radius)
                paint(x, y, std::sqrt(1.0 - d2 / (radius * radius)));
        }
}

// Diffuse light from the upper left on a sphere, as a step of an eight-colour ramp.
std::uint32_t shade(double dx, double dy, double depth, std::uint32_t darkest) {
    const double light = std::clamp(-0.45 * dx - 0.55 * dy + 0.7 * depth, 0.0, 1.0);
    return darkest + static_cast<std::uint32_t>(std::lround(light * 7));
}

IndexImage orb(int direction) {
    constexpr double centre = 32, radius = 24;
    IndexImage image;
    disc(centre, centre, radius, [&](int x, int y, double depth) {
        image.set(x, y,
                  shade((x + 0.5 - centre) / radius, (y + 0.5 - centre) / radius, depth, 192));
    });
    // Direction 0 faces up, 8 right, 16 down.
    const double angle = direction * std::numbers::pi / 16;
    disc(centre + 15 * std::sin(angle), centre - 15 * std::cos(angle), 4.5,
         [&](int x, int y, double depth) { image.set(x, y, depth > 0.6 ? 137 : 135); });
    return image;
}

IndexImage beacon() {
    IndexImage image;
    for (int y = 14; y < 40; ++y) {
        const int half = 3 + (y - 14) / 4;
        for (int x = 12 - half; x < 12 + half; ++x)
            image.set(x, y, x < 12 ? 144 : 140);
    }
    for (int x = 6; x < 18; ++x)
        image.set(x, 13, 138);
    disc(12, 8, 5.5, [&](int x, int y, double depth) {
        image.set(x, y, depth > 0.7 ? 137 : depth > 0.35 ? 178 : 174);
    });
    return image;
}

IndexImage planet() {
    constexpr double centre = 128, radius = 124;
    IndexImage image;
    disc(centre, centre, radius, [&](int x, int y, double depth) {
        const double dx = (x + 0.5 - centre) / radius, dy = (y + 0.5 - centre) / radius;
        const bool land = std::sin(x * 0.045 + 3 * std::sin(y * 0.03)) + std::cos(y * 0.07) > 0.6;
        image.set(x, y, shade(dx, dy, depth, land ? 184 : 192));
    });
    return image;
}

struct Sprite {
    std::string name;
    int width, height;
    std::vector<IndexImage> frames;
    std::vector<std::size_t> repeats; // earlier frames shown again after the drawn ones
};

bool write(const std::string& folder, const Sprite& sprite) {
    SpriteWriter writer(sprite.frames.size() + sprite.repeats.size());
    GrpWriteError error = GrpWriteError::none;
    for (const IndexImage& frame : sprite.frames)
        if (error == GrpWriteError::none)
            error = writer.addFrame(frame, sprite.width, sprite.height);
    for (std::size_t earlier : sprite.repeats)
        if (error == GrpWriteError::none)
            error = writer.addDuplicate(earlier);
    const std::string path = folder + "/" + sprite.name;
    if (error != GrpWriteError::none) {
        std::cerr << sprite.name << ": " << grpWriteErrorMessage(error, writer.framesAdded())
                  << '\n';
        return false;
    }
    const FileErrorCause cause = writeFileAtomically(path, writer.finish());
    if (cause != FileErrorCause::none) {
        std::cerr << fileErrorMessage(cause, path) << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_demo OUTPUT-FOLDER\n";
        return 2;
    }
    Sprite turning{"orb.grp", 64, 64, {}, {16, 12, 8, 4}};
    for (int direction = 0; direction < 17; ++direction)
        turning.frames.push_back(orb(direction));
    const std::vector<Sprite> sprites = {
        turning,
        {"beacon.grp", 24, 40, {beacon()}, {}},
        {"planet.grp", 256, 256, {planet()}, {}},
    };
    bool ok = true;
    for (const Sprite& sprite : sprites)
        ok &= write(argv[1], sprite);
    return ok ? 0 : 1;
}
