#include "app/window_ops.h"

namespace pixmorph {

FilePickerSettings grpPicker() {
    return {"Select File", "Sprite Files *.grp", "*.grp", "GRP"};
}

FilePickerSettings qblPicker() {
    return {"Locate QBL File", "QB Lists *.qbl", "*.qbl", "QBL"};
}

FilePickerSettings palettePicker() {
    return {"Select a STARCRAFT palette file:", "Palette Files *.pal", "*.pal", "PAL"};
}

FilePickerSettings archivePicker() {
    return {"Locate StarDat.MPQ (in StarCraft Directory)", "StarDat MPQ files *.mpq", "*.mpq",
            "MPQ"};
}

} // namespace pixmorph
