#pragma once
// A frame's picture for the compile, a BMP or a PNG told apart by its first bytes (a list may
// name either, whatever the file's name says).

#include "core/bytes.h"
#include "core/grp_format.h"
#include "core/palette.h"

#include <string>

namespace pixmorph {

struct FramePicture {
    int width = 0;
    int height = 0;
    std::string refusal; // empty when the whole picture was read
};

// Clears the image and reads the picture into it from the top-left corner; fileName is what
// a refusal names.
FramePicture readFramePicture(Bytes file, NearestColour& nearest, IndexImage& image,
                              const std::string& fileName);

} // namespace pixmorph
