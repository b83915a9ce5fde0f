#pragma once
// GRP to BMP export: every frame, or only frames with their own data, as RLE8 bitmaps at the
// full sprite size, with a QBL list that names them.

#include "core/frame_ranges.h"
#include "core/palette.h"
#include "jobs/job_delegate.h"

#include <string>

namespace pixmorph {

// The game's count of facing directions: a unit's turn cycle fills a row of the sheet.
inline constexpr int kDefaultSheetColumns = 17;

// How each frame is written: a run-length bitmap, or an indexed PNG with index 0 transparent.
enum class PictureFormat { bmp, png };

struct ExportInput {
    std::string grpPath;   // empty: nothing to export
    std::string outputDir; // empty: the bitmaps and the list go beside the GRP
    Palette palette;
    PictureFormat format = PictureFormat::bmp;
    // Empty: every frame. Otherwise only these, each as a picture of its own, and the list
    // notes the sprite's full frame count.
    std::vector<FrameRange> frames{};
    // Above 0: one sprite sheet of this many columns and its JSON instead of a picture per
    // frame and a list.
    int sheetColumns = 0;
    // Above 0: one animated GIF at this many frames a second instead.
    int gifFps = 0;
};

// Asks the delegate which frames to write, then writes them.
JobOutcome runExportJob(JobDelegate& delegate, const ExportInput& input);

} // namespace pixmorph
