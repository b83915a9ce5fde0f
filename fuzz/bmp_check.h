#pragma once
// The check both the export and the round-trip target make of the BMP writer: the file it
// writes for a canvas reads back, through the compile's reader, to the canvas's indices.

#include "core/bmp_file.h"
#include "fuzz_check.h"

namespace pixmorph::fuzz {

inline void checkBmpReadsBack(const ByteVector& file, const ExportCanvas& canvas, int width,
                              int height) {
    static IndexImage image;
    static NearestColour nearest{Palette{}};
    const BmpReadResult read = readBmp(file, nearest, image);
    FUZZ_CHECK(read.status == BmpReadStatus::ok && !read.dataTruncated);
    FUZZ_CHECK(read.width == width && read.height == height);
    // Picture row y is canvas row y + 1.
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            FUZZ_CHECK(static_cast<int>(image.at(x, y)) == canvas.row(y + 1)[x]);
}

} // namespace pixmorph::fuzz
