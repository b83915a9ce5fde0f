#pragma once
// The name list that ships with the program (the game's sprite names), for the user who has
// no list of their own: it lies in share/pixmorph/ beside the program's bin/ folder, installed
// or in the build tree.

#include <string>

namespace pixmorph {

// Where the shipped list lies for the running program; empty when the program's own path
// cannot be had.
std::string shippedNameListPath();

// The list an archive is opened with: the given location when a file stands there (a list of
// the user's own), else the shipped list when it is there, else the given location still, so
// that its absence is reported.
std::string nameListToUse(const std::string& location);

} // namespace pixmorph
