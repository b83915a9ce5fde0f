#include "app/dropped_file.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace pixmorph {

namespace {

std::string lowerExtension(std::string_view path) {
    const auto slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return {};
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

} // namespace

DropAction dropActionFor(std::string_view path, bool isFolder) {
    if (isFolder)
        return DropAction::setOutputDir;
    const std::string extension = lowerExtension(path);
    if (extension == "grp")
        return DropAction::loadSprite;
    // The game's raw palettes (.pal, .wpe), JASC palettes (.pal) and the other common kinds;
    // Load Palette tells them apart by their contents.
    if (extension == "pal" || extension == "wpe" || extension == "act" || extension == "gpl")
        return DropAction::loadPalette;
    if (extension == "qbl" || extension == "json")
        return DropAction::compile;
    return DropAction::none;
}

int commandForDrop(DropAction action) {
    switch (action) {
    case DropAction::loadSprite:
        return ids::kLoadExternalFile;
    case DropAction::loadPalette:
        return ids::kLoadPalette;
    case DropAction::compile:
        return ids::kCompileToGrp;
    case DropAction::setOutputDir:
        return ids::kSetOutputDirectory;
    case DropAction::none:
        break;
    }
    return 0;
}

} // namespace pixmorph
