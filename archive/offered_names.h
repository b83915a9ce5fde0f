#pragma once
// Which found names the archive list offers, and the order the list shows them in.

#include "archive/archive_library.h"

#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

// A sprite the list offers: a name whose last three characters are g, r, p in any case.
bool isOfferedName(std::string_view name);

// The order of the archive list: letters compared without regard to case, ties by bytes. The
// desktop list keeps its entries in this order.
bool comesBeforeInList(std::string_view left, std::string_view right);

// The offered names among the found files, in list order.
std::vector<std::string> offeredNames(const std::vector<ArchiveFileRecord>& found);

} // namespace pixmorph
