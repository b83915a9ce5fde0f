#pragma once
// The file-type association for the desktop the program runs on: the XDG variant on Linux,
// fed with the program's icons and a runner for the desktop's cache tools.

#include "app/file_association.h"

#include <memory>

namespace pixmorph::ui {

std::unique_ptr<FileAssociationSink> makeDesktopAssociation();

} // namespace pixmorph::ui
