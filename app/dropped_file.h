#pragma once
// Files dropped on the main window: each kind does what its command does with the file chosen.

#include "app/control_ids.h"

#include <string_view>

namespace pixmorph {

enum class DropAction {
    none,
    loadSprite,   // a .grp: Load External File
    loadPalette,  // a palette: Load Palette
    compile,      // a .qbl or .json frame list: Compile to GRP
    setOutputDir, // a folder: Set Output Directory
};

// Decided by the name's extension, in any case; a folder is a folder whatever its name.
DropAction dropActionFor(std::string_view path, bool isFolder);

// The main window command that does it, or 0 for none.
int commandForDrop(DropAction action);

} // namespace pixmorph
