#pragma once
// Files for the app tests: a temporary folder removed at the end, and GRP bytes built by hand,
// so that malformed and truncated sprites are as easy to make as good ones.

#include "core/bytes.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace pixmorph::testing {

struct TempFolder {
    std::filesystem::path path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "pixmorph-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
    template <typename Bytes> std::string write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(file(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return file(name);
    }
};

// A frame box at (x, y) whose rows are each written as one literal run (at most 63 pixels).
struct HandFrame {
    std::uint8_t x = 0, y = 0;
    std::vector<std::vector<std::uint8_t>> rows;
};

inline ByteVector handBuiltGrp(std::uint16_t width, std::uint16_t height,
                               const std::vector<HandFrame>& frames) {
    ByteVector file, data;
    for (const std::size_t field : {frames.size(), std::size_t{width}, std::size_t{height}})
        appendU16(file, static_cast<std::uint16_t>(field));
    for (const HandFrame& frame : frames) {
        const auto rows = static_cast<std::uint8_t>(frame.rows.size());
        file.insert(file.end(), {frame.x, frame.y,
                                 static_cast<std::uint8_t>(rows ? frame.rows[0].size() : 0), rows});
        appendU32(file, static_cast<std::uint32_t>(6 + 8 * frames.size() + data.size()));
        std::size_t rowOffset = 2 * rows;
        for (const auto& row : frame.rows) {
            appendU16(data, static_cast<std::uint16_t>(rowOffset));
            rowOffset += 1 + row.size();
        }
        for (const auto& row : frame.rows) {
            data.push_back(static_cast<std::uint8_t>(row.size()));
            data.insert(data.end(), row.begin(), row.end());
        }
    }
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

// `count` frames, each a 2 x 2 box at (1, 1) of pixel value frame + 1, in a 4 x 4 sprite.
inline ByteVector spriteOfFrames(int count) {
    std::vector<HandFrame> frames;
    for (int i = 0; i < count; ++i) {
        const auto v = static_cast<std::uint8_t>(i + 1);
        frames.push_back({1, 1, {{v, v}, {v, v}}});
    }
    return handBuiltGrp(4, 4, frames);
}

} // namespace pixmorph::testing
