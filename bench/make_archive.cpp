// Packs sprites into an archive the way the game's archives hold them, and writes the name
// list that finds them:  make_archive ARCHIVE NAMELIST FOLDER_IN_ARCHIVE FILE...
// Each FILE is stored as FOLDER_IN_ARCHIVE\<file name>, PKWARE-compressed, in an MPQ of
// format version 1 with a (listfile), so that other tools can extract it by name too.
#include <StormLib.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::cerr << "usage: make_archive ARCHIVE NAMELIST FOLDER_IN_ARCHIVE FILE...\n";
        return 2;
    }
    const std::string archivePath = argv[1];
    const std::string folder = argv[3];
    const int files = argc - 4;
    DWORD slots = 16;
    while (slots < static_cast<DWORD>(files) + 4)
        slots *= 2;

    std::filesystem::remove(archivePath);
    HANDLE archive = nullptr;
    if (!SFileCreateArchive(archivePath.c_str(), MPQ_CREATE_ARCHIVE_V1 | MPQ_CREATE_LISTFILE,
                            slots, &archive)) {
        std::cerr << archivePath << ": cannot create the archive\n";
        return 1;
    }
    std::ofstream names(argv[2], std::ios::binary);
    int failed = 0;
    for (int i = 4; i < argc; ++i) {
        const std::string name = folder + "\\" + std::filesystem::path(argv[i]).filename().string();
        if (!SFileAddFileEx(archive, argv[i], name.c_str(), MPQ_FILE_COMPRESS,
                            MPQ_COMPRESSION_PKWARE, MPQ_COMPRESSION_PKWARE)) {
            std::cerr << argv[i] << ": cannot add to the archive\n";
            ++failed;
        }
        names << name << "\r\n";
    }
    if (!SFileCloseArchive(archive)) {
        std::cerr << archivePath << ": cannot finish the archive\n";
        return 1;
    }
    return failed == 0 && names ? 0 : 1;
}
