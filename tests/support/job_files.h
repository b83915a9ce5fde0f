#pragma once
// Scratch folders, whole-file helpers and sprites drawn in code for the job and command tests.

#include "core/grp_format.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace pixmorph::testing {

template <typename Bytes> void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
}

// A fresh folder, removed with everything in it afterwards.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = std::filesystem::temp_directory_path() / "pixmorph-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::filesystem::filesystem_error(
                "mkdtemp", std::error_code(errno, std::generic_category()));
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ignored; // a destructor must not throw for a file it cannot remove
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ / name; }
    std::string path() const { return path_; }
    // Writes the bytes to the named file in the folder and gives its path.
    template <typename Bytes> std::string write(const std::string& name, const Bytes& bytes) const {
        return writeFile(file(name), bytes), file(name);
    }
    std::set<std::string> names() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.insert(entry.path().filename());
        return names;
    }

private:
    std::filesystem::path path_;
};

// The number of a process that has ended: what a killed run's temporary files carry.
inline pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline ByteVector readFile(const std::string& path) {
    const std::string text = readText(path);
    return {text.begin(), text.end()};
}

// Every file below a folder with its bytes ("/" for a folder, "-> target" for a link): taken
// before and after, it shows that a command created or changed nothing anywhere inside,
// temporary files included.
using FolderSnapshot = std::map<std::string, std::string>;

inline FolderSnapshot snapshotOf(const std::string& folder) {
    FolderSnapshot snapshot;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
        snapshot[item.path().lexically_relative(folder).string()] =
            item.is_symlink()        ? "-> " + std::filesystem::read_symlink(item.path()).string()
            : item.is_directory()    ? "/"
            : item.is_regular_file() ? readText(item.path().string())
                                     : "(special)"; // a FIFO is never opened
    return snapshot;
}

using Repeats = std::vector<std::optional<std::size_t>>;

// Frame i repeats the data of frame repeats[i] when set; the other frames are random boxes
// (within the writer's byte fields) of transparent gaps, one-colour runs and literal stretches.
inline ByteVector makeSprite(std::uint32_t seed, int width, int height, const Repeats& repeats,
                             SpriteEncoding encoding = SpriteEncoding::runLength) {
    std::mt19937 rng(seed);
    auto pick = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    SpriteWriter writer(repeats.size(), encoding);
    IndexImage image;
    for (const auto& original : repeats) {
        if (original) {
            writer.addDuplicate(*original);
            continue;
        }
        image.clear();
        const int boxWidth = pick(1, std::min(width, 255));
        const int boxHeight = pick(1, std::min(height, 254));
        const int left = pick(0, width - boxWidth);
        const int top = pick(0, height - boxHeight);
        for (int y = top; y < top + boxHeight; ++y) {
            for (int x = left; x < left + boxWidth;) {
                const int kind = pick(0, 2);
                const int colour = pick(1, 255);
                for (int run = pick(1, 80); run > 0 && x < left + boxWidth; --run, ++x)
                    if (kind > 0)
                        image.set(x, y, kind == 1 ? colour : pick(0, 255));
            }
        }
        writer.addFrame(image, width, height);
    }
    return writer.finish();
}

} // namespace pixmorph::testing
