#pragma once
// How a GRP is recognised by its name: the text after the last '.' is exactly "grp" (lower
// case). A name without a '.' is not a GRP.

#include <string_view>

namespace pixmorph {

inline bool hasGrpName(std::string_view path) {
    const auto dot = path.rfind('.');
    return dot != std::string_view::npos && path.substr(dot + 1) == "grp";
}

} // namespace pixmorph
