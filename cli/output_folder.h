#pragma once
// The folder given with --output-dir, checked before anything is written into it: a missing
// folder would otherwise surface as the first output's "out/x000.bmp was not found".

#include <string>

namespace pixmorph::cli {

// True when the folder stands (an empty name is the current or the input's folder). A missing
// one is made, with the folders above it, when make is set; otherwise, or when that fails, a
// message naming the folder has been printed.
bool readyOutputFolder(const std::string& folder, bool make);

} // namespace pixmorph::cli
