#pragma once
// The export's sprite sheet: one picture of sprite-sized cells in frame order, `columns` to a
// row, and the sheet's JSON. A frame that repeats an earlier one's data takes no cell of its
// own: its rectangle is the original's, as Aseprite writes merged duplicates, and our part of
// the JSON names the original so the compile shares the data again.

#include "core/palette.h"
#include "jobs/export_job.h"
#include "jobs/frame_gathering.h"

#include <memory>
#include <string>

namespace pixmorph {

struct SheetPlan {
    std::string folder;        // where the sheet and its JSON go
    std::string name;          // the sprite's stem: NAME.png (or .bmp) and NAME.json
    int width = 0, height = 0; // the sprite's, each cell's size
    int columns = 17;          // the game's facing directions: a unit's turn cycle a row
    std::size_t cells = 0;     // frames with data of their own
    std::size_t fullFrameCount = 0;
    bool partial = false;
    PictureFormat format = PictureFormat::png;
    Palette palette;
};

// nullopt when the sheet would pass kMaxSheetSide or kMaxSheetPixels.
std::unique_ptr<FrameGathering> makeSpriteSheet(const SheetPlan& plan);

// The sheet's picture file, for the refusal of one too large.
std::string sheetPicturePath(const SheetPlan& plan);

} // namespace pixmorph
