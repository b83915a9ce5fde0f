#pragma once
// Exports that gather the frames into files of their own (a sprite sheet, an animation)
// rather than write a picture per frame and a list.

#include "core/bmp_file.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pixmorph {

struct OutputFile {
    std::string path;
    ByteVector bytes;
};

class FrameGathering {
public:
    virtual ~FrameGathering() = default;
    // The next frame in export order: decoded into the canvas, or, when `original` is set,
    // repeating that earlier frame's data (the canvas then holds nothing of it).
    virtual void add(std::size_t frame, std::optional<std::size_t> original,
                     const ExportCanvas& canvas) = 0;
    // Why the files cannot be written (empty while they can), asked after each frame.
    virtual std::string refusal() const { return {}; }
    // The files to write once every frame is in.
    virtual std::vector<OutputFile> finish() = 0;
};

} // namespace pixmorph
