#include "core/palette_kind_name.h"

namespace pixmorph {

std::string_view paletteKindName(PaletteFileKind kind) {
    switch (kind) {
    case PaletteFileKind::raw:
        return "SC Pal";
    case PaletteFileKind::jasc:
        return "JASC Pal";
    case PaletteFileKind::riff:
        return "RIFF Pal";
    case PaletteFileKind::act:
        return "ACT Pal";
    case PaletteFileKind::tileset:
        return "Tileset Pal";
    case PaletteFileKind::gimp:
        return "GIMP Pal";
    case PaletteFileKind::bitmap:
        return "BMP Pal";
    case PaletteFileKind::png:
        return "PNG Pal";
    case PaletteFileKind::notRecognised:
    case PaletteFileKind::jascNot256:
        break;
    }
    return {};
}

} // namespace pixmorph
