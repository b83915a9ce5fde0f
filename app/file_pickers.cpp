#include "app/window_ops.h"

namespace pixmorph {

FilePickerSettings grpPicker() {
    return {"Select File", "Sprite Files *.grp", "*.grp", "GRP"};
}

FilePickerSettings qblPicker() {
    return {
        "Locate QBL File", "QB Lists *.qbl", "*.qbl", "QBL", {{"Sprite Sheets *.json", "*.json"}}};
}

FilePickerSettings palettePicker() {
    return {"Select a STARCRAFT palette file:",
            "Palette Files *.pal",
            "*.pal",
            "PAL",
            {{"All Palette Kinds", "*.pal *.wpe *.act *.gpl *.bmp *.png"},
             {"Tileset Palettes *.wpe", "*.wpe"},
             {"Adobe Colour Tables *.act", "*.act"},
             {"GIMP Palettes *.gpl", "*.gpl"},
             {"Bitmaps *.bmp", "*.bmp"},
             {"PNG Pictures *.png", "*.png"}}};
}

FilePickerSettings archivePicker() {
    return {"Locate StarDat.MPQ (in StarCraft Directory)", "StarDat MPQ files *.mpq", "*.mpq",
            "MPQ"};
}

} // namespace pixmorph
