#pragma once
// The .grp association on a Linux desktop, for the current user only: a shared-mime-info
// package that names the type, a desktop entry that opens the program with the file, the icons,
// and the program made the type's default handler in mimeapps.list. Nothing outside the user's
// XDG data and config folders is touched, and every failure is silent.

#include "app/file_association.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph {

inline constexpr std::string_view kGrpMimeType = "application/x-starcraft-grp";
inline constexpr std::string_view kDesktopEntryName = "pixmorph.desktop";
inline constexpr std::string_view kProgramIconName = "pixmorph";
inline constexpr std::string_view kMimePackageName = "pixmorph.xml";

// The icon themes' name for a type's icon: the type with '-' for '/'.
std::string mimeTypeIconName(std::string_view mimeType);

struct XdgFolders {
    std::filesystem::path dataHome;   // XDG_DATA_HOME, else ~/.local/share
    std::filesystem::path configHome; // XDG_CONFIG_HOME, else ~/.config
};

// The folders the environment names. A variable that is unset, empty or relative falls back to
// its default under HOME; nullopt when HOME cannot give one either.
std::optional<XdgFolders> xdgFoldersFromEnvironment();

struct XdgIcon {
    std::string context; // "apps" or "mimetypes"
    std::string name;    // without extension
    int size = 0;        // pixels, square
    std::string png;     // the file's bytes
};

// The texts of the association.
std::string mimePackage(const FileAssociation& association);
std::string desktopEntry(const FileAssociation& association);
// One argument of a desktop entry's Exec line, quoted and escaped as that line requires.
std::string execArgument(std::string_view argument);
// mimeapps.list with the desktop entry first for the type, under both "[Default Applications]"
// and "[Added Associations]"; every other line is kept as it was.
std::string withDefaultHandler(std::string_view mimeApps, std::string_view mimeType,
                               std::string_view desktopEntryName);

class XdgAssociationSink : public FileAssociationSink {
public:
    // Runs a desktop tool (program and arguments) that refreshes a cache after the writes; the
    // platform layer supplies it. Failures must be silent.
    using CommandRunner = std::function<void(const std::vector<std::string>& command)>;

    XdgAssociationSink(std::optional<XdgFolders> folders, std::vector<XdgIcon> icons,
                       CommandRunner runCommand = {});

    void registerFileType(const FileAssociation& association) override;

private:
    std::optional<XdgFolders> folders_;
    std::vector<XdgIcon> icons_;
    CommandRunner runCommand_;
};

} // namespace pixmorph
