// The preview's cost: showFrame over every frame of every sprite in a folder, drawing into a
// surface that keeps nothing, then the largest frame of a 256 x 256 sprite shown again and
// again.  preview_bench FOLDER [REPEATS]
// Prints "key value" lines for bench/run.
#include "app/converter_state.h"
#include "app/show_frame.h"
#include "app/window_ops.h"
#include "core/file_io.h"
#include "core/grp_format.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

using namespace pixmorph;

namespace {

class NullSurface : public PreviewSurface {
public:
    void beginFrame() override {}
    void setPixel(int, int, std::uint32_t) override { ++pixels; }
    void fillPreviewBlack() override {}
    void stretchToWindow(int, int, int, int, int, int) override {}
    void endFrame() override {}
    std::uint64_t pixels = 0;
};

// The groups showFrame uses: fields that keep nothing, and messages counted.
class NullWindow : public ControlOps, public MessageOps {
public:
    void setControlText(int, const std::string&) override {}
    bool isChecked(int) const override { return false; }
    void setChecked(int, bool) override {}
    void enableControl(int, bool) override {}
    void repaintNow() override {}
    MessageAnswer showMessage(const std::string& text, MessageIcon, bool) override {
        std::cerr << "message: " << text << "\n";
        ++messages;
        return MessageAnswer::ok;
    }

    NullSurface surface;
    int messages = 0;
};

// The program has one thread, so its processor time is the showing's own.
double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Sprite {
    std::string path;
    SpriteHeader header;
    std::vector<FrameEntry> entries;
};

std::vector<Sprite> readSprites(const std::string& folder) {
    std::vector<Sprite> sprites;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (item.path().extension() != ".grp")
            continue;
        Sprite sprite{item.path().string(), {}, {}};
        const FileReadResult read = readWholeFile(sprite.path);
        sprite.header = readSpriteHeader(read.data).value_or(SpriteHeader{});
        for (std::size_t i = 0; i < sprite.header.frameCount; ++i)
            sprite.entries.push_back(readFrameEntry(read.data, i).value_or(FrameEntry{}));
        sprites.push_back(std::move(sprite));
    }
    std::sort(sprites.begin(), sprites.end(),
              [](const Sprite& a, const Sprite& b) { return a.path < b.path; });
    return sprites;
}

void show(ConverterState& state, NullWindow& window, const std::string& path, int frame) {
    state.fields.grpNameText = path;
    state.shown.currentFrame = frame;
    showFrame(state, FrameWindow(window, window, window.surface));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: preview_bench FOLDER [REPEATS]\n";
        return 2;
    }
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
    const std::vector<Sprite> sprites = readSprites(argv[1]);
    ConverterState state;
    NullWindow window;

    std::uint64_t frames = 0;
    const double cpuStart = cpuSeconds();
    const double wallStart = wallSeconds();
    for (const Sprite& sprite : sprites)
        for (int frame = 0; frame < sprite.header.frameCount; ++frame, ++frames)
            show(state, window, sprite.path, frame);
    const double cpu = cpuSeconds() - cpuStart;
    const double wall = wallSeconds() - wallStart;
    std::cout << "frames " << frames << "\npixels " << window.surface.pixels
              << "\ncpu_us_per_frame " << cpu / std::max<std::uint64_t>(frames, 1) * 1e6
              << "\nwall_us_per_frame " << wall / std::max<std::uint64_t>(frames, 1) * 1e6 << "\n";

    // The largest frame box of the 256 x 256 sprites.
    const Sprite* largest = nullptr;
    int largestFrame = 0, largestArea = -1;
    for (const Sprite& sprite : sprites) {
        if (sprite.header.width != 256 || sprite.header.height != 256)
            continue;
        for (std::size_t i = 0; i < sprite.entries.size(); ++i) {
            const int area = sprite.entries[i].width * sprite.entries[i].height;
            if (area > largestArea) {
                largest = &sprite;
                largestFrame = static_cast<int>(i);
                largestArea = area;
            }
        }
    }
    if (largest != nullptr) {
        std::vector<double> times;
        for (int i = 0; i < repeats; ++i) {
            const double start = cpuSeconds();
            show(state, window, largest->path, largestFrame);
            times.push_back(cpuSeconds() - start);
        }
        std::sort(times.begin(), times.end());
        const FrameEntry& entry = largest->entries[static_cast<std::size_t>(largestFrame)];
        std::cout << "large_frame " << std::filesystem::path(largest->path).filename().string()
                  << ":" << largestFrame << " " << int(entry.width) << "x" << int(entry.height)
                  << "\nlarge_frame_cpu_us_median " << times[times.size() / 2] * 1e6
                  << "\nlarge_frame_cpu_us_p90 " << times[times.size() * 9 / 10] * 1e6 << "\n";
    }
    std::cout << "messages " << window.messages << "\n";
    return window.messages == 0 ? 0 : 1;
}
