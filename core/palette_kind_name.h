#pragma once
// The short name of each palette kind read, as the palette name field shows it after the
// file's name ("units.wpe - Tileset Pal").

#include "core/palette.h"

#include <string_view>

namespace pixmorph {

// Empty for the two refusals (notRecognised, jascNot256), which name no kind.
std::string_view paletteKindName(PaletteFileKind kind);

} // namespace pixmorph
