#include "app/xdg_association.h"

#include "core/file_io.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace pixmorph {

namespace fs = std::filesystem;

namespace {

// mimeapps.list is a small text file; anything far larger is not one we should rewrite.
constexpr std::uint64_t kMimeAppsLimit = 1u << 20;

std::string xmlEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A desktop entry's string values escape these, so a value stays on its line.
std::string entryValueEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<fs::path> absoluteFolder(const char* variable, const char* home,
                                       const char* fallback) {
    if (const char* value = std::getenv(variable); value && *value && fs::path(value).is_absolute())
        return fs::path(value);
    if (home && *home && fs::path(home).is_absolute())
        return fs::path(home) / fallback;
    return std::nullopt;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool isSectionHeader(std::string_view line) {
    line = trimmed(line);
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The list value with the entry first and no second copy of it.
std::string entryFirst(std::string_view oldValue, std::string_view entry) {
    std::string value = std::string(entry) + ";";
    std::size_t start = 0;
    while (start <= oldValue.size()) {
        auto end = oldValue.find(';', start);
        if (end == std::string_view::npos)
            end = oldValue.size();
        const std::string_view item = trimmed(oldValue.substr(start, end - start));
        if (!item.empty() && item != entry)
            value += std::string(item) + ";";
        start = end + 1;
    }
    return value;
}

void putEntryFirst(std::vector<std::string>& lines, std::string_view section, std::string_view key,
                   std::string_view entry) {
    const std::string header = "[" + std::string(section) + "]";
    auto inSection = std::find_if(lines.begin(), lines.end(),
                                  [&](const std::string& line) { return trimmed(line) == header; });
    if (inSection == lines.end()) {
        if (!lines.empty() && !trimmed(lines.back()).empty())
            lines.emplace_back();
        lines.push_back(header);
        lines.push_back(std::string(key) + "=" + std::string(entry) + ";");
        return;
    }
    auto insertAt = std::next(inSection);
    for (auto line = std::next(inSection); line != lines.end() && !isSectionHeader(*line); ++line) {
        const auto equals = line->find('=');
        if (equals != std::string::npos &&
            trimmed(std::string_view(*line).substr(0, equals)) == key) {
            *line = std::string(key) + "=" +
                    entryFirst(std::string_view(*line).substr(equals + 1), entry);
            return;
        }
        if (!trimmed(*line).empty())
            insertAt = std::next(line);
    }
    lines.insert(insertAt, std::string(key) + "=" + std::string(entry) + ";");
}

void writeText(const fs::path& path, const std::string& text) {
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    // These are the user's own settings, which dotfile managers keep as links: the file a link
    // names is the one updated (the file layer itself never writes through a link).
    fs::path target = path;
    if (fs::is_symlink(path, ignored))
        target = fs::weakly_canonical(path, ignored);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    writeFileAtomically(target.string(), Bytes(bytes, text.size()));
}

} // namespace

std::string mimeTypeIconName(std::string_view mimeType) {
    std::string name(mimeType);
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

std::optional<XdgFolders> xdgFoldersFromEnvironment() {
    const char* home = std::getenv("HOME");
    auto data = absoluteFolder("XDG_DATA_HOME", home, ".local/share");
    auto config = absoluteFolder("XDG_CONFIG_HOME", home, ".config");
    if (!data || !config)
        return std::nullopt;
    return XdgFolders{*data, *config};
}

std::string mimePackage(const FileAssociation& association) {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        << "  <mime-type type=\"" << kGrpMimeType << "\">\n"
        << "    <comment>" << xmlEscaped(association.typeName) << "</comment>\n"
        << "    <icon name=\"" << mimeTypeIconName(kGrpMimeType) << "\"/>\n"
        << "    <glob pattern=\"*" << xmlEscaped(association.extension) << "\"/>\n"
        << "  </mime-type>\n"
        << "</mime-info>\n";
    return out.str();
}

std::string execArgument(std::string_view argument) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string quoted;
    if (argument.find_first_of(reserved) == std::string_view::npos) {
        quoted = argument;
    } else {
        quoted = "\"";
        for (const char c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                quoted += '\\';
            quoted += c;
        }
        quoted += '"';
    }
    std::string fieldCodesEscaped;
    for (const char c : quoted) {
        fieldCodesEscaped += c;
        if (c == '%')
            fieldCodesEscaped += '%';
    }
    return entryValueEscaped(fieldCodesEscaped);
}

std::string desktopEntry(const FileAssociation& association) {
    const std::string program =
        association.programPath.empty() ? std::string("Pixmorph") : association.programPath;
    std::ostringstream out;
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Name=Pixmorph\n"
        << "GenericName=GRP <--> BMP Converter\n"
        << "Comment=Convert " << entryValueEscaped(association.typeName)
        << " files to BMP pictures and back\n"
        << "Exec=" << execArgument(program) << " %f\n"
        << "Icon=" << kProgramIconName << "\n"
        << "Terminal=false\n"
        << "Categories=Graphics;2DGraphics;RasterGraphics;\n"
        << "MimeType=" << kGrpMimeType << ";\n";
    return out.str();
}

std::string withDefaultHandler(std::string_view mimeApps, std::string_view mimeType,
                               std::string_view desktopEntryName) {
    std::vector<std::string> lines = splitLines(mimeApps);
    putEntryFirst(lines, "Default Applications", mimeType, desktopEntryName);
    putEntryFirst(lines, "Added Associations", mimeType, desktopEntryName);
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

XdgAssociationSink::XdgAssociationSink(std::optional<XdgFolders> folders,
                                       std::vector<XdgIcon> icons, CommandRunner runCommand)
    : folders_(std::move(folders)), icons_(std::move(icons)), runCommand_(std::move(runCommand)) {}

void XdgAssociationSink::registerFileType(const FileAssociation& association) {
    if (!folders_)
        return;
    const fs::path& data = folders_->dataHome;
    const fs::path& config = folders_->configHome;

    writeText(data / "mime" / "packages" / kMimePackageName, mimePackage(association));
    for (const XdgIcon& icon : icons_) {
        const std::string size = std::to_string(icon.size) + "x" + std::to_string(icon.size);
        writeText(data / "icons" / "hicolor" / size / icon.context / (icon.name + ".png"),
                  icon.png);
    }
    writeText(data / "applications" / kDesktopEntryName, desktopEntry(association));

    // An existing list that cannot be read is left alone rather than replaced by ours.
    const fs::path mimeApps = config / "mimeapps.list";
    const FileReadResult existing = readWholeFile(mimeApps.string(), kMimeAppsLimit);
    if (existing.ok() || existing.error == FileErrorCause::fileNotFound) {
        const std::string_view text(reinterpret_cast<const char*>(existing.data.data()),
                                    existing.data.size());
        writeText(mimeApps, withDefaultHandler(text, kGrpMimeType, kDesktopEntryName));
    }

    if (runCommand_) {
        runCommand_({"update-mime-database", (data / "mime").string()});
        runCommand_({"update-desktop-database", (data / "applications").string()});
    }
}

} // namespace pixmorph
