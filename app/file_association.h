#pragma once
// Registering the program as the handler of .grp files. The logic builds what is to be
// registered; a sink writes it the way the desktop wants (XDG on Linux, the registry on
// Windows). Failures are silent.

#include <string>

namespace pixmorph {

struct FileAssociation {
    std::string typeName = "StarCraft Sprite";
    std::string extension = ".grp";
    std::string programPath; // the program's real location
};

class FileAssociationSink {
public:
    virtual ~FileAssociationSink() = default;
    virtual void registerFileType(const FileAssociation& association) = 0;
};

} // namespace pixmorph
