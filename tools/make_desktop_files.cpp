// Writes the desktop entry and the MIME package that `cmake --install` puts in place, from the
// same code that registers them for one user at first run.
//   make_desktop_files OUTPUT_FOLDER PROGRAM_PATH
#include "app/xdg_association.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_desktop_files OUTPUT_FOLDER PROGRAM_PATH\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    pixmorph::FileAssociation association;
    association.programPath = argv[2];
    std::ofstream(folder / pixmorph::kDesktopEntryName) << pixmorph::desktopEntry(association);
    std::ofstream(folder / pixmorph::kMimePackageName) << pixmorph::mimePackage(association);
    return 0;
}
