#include "app/startup.h"

#include "core/messages.h"

namespace pixmorph {

namespace {

constexpr const char* kLocationsSection = "FileLocations";
constexpr const char* kArchiveValue = "StarDat_MPQ_Location";
constexpr const char* kPaletteValue = "Palette_Location";
constexpr const char* kFileListValue = "sc_data__Location";
constexpr const char* kOutputValue = "Output_Directory";
constexpr const char* kVersionSection = "Version";
constexpr const char* kVersionValue = "VersionNumber";

void appendLine(std::string& text, const std::string& line) {
    if (!text.empty())
        text += '\n';
    text += line;
}

// A stored location too long for its field is not used at all: a cut path would name some
// other file, and writing through it could touch the wrong place.
std::string readLocation(SettingsStore& store, const char* name, std::string& messages) {
    std::string value = store.getString(kLocationsSection, name, "");
    if (fitsLocationField(value))
        return value;
    appendLine(messages, fillIn(msg::kStoredLocationTooLong, name));
    return {};
}

} // namespace

std::string commandLineRemainder(const std::vector<std::string>& arguments) {
    std::string remainder;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            remainder += ' ';
        remainder += arguments[i];
    }
    // Blanks and control characters before the name are skipped, as the shell's command line is.
    std::size_t start = 0;
    while (start < remainder.size() && static_cast<unsigned char>(remainder[start]) <= 32)
        ++start;
    return remainder.substr(start);
}

StartupResult startUp(SettingsStore& store, ConverterState& state, const std::string& remainder) {
    StartupResult result;
    state.locations.archivePath = readLocation(store, kArchiveValue, result.message);
    state.locations.paletteLocation = readLocation(store, kPaletteValue, result.message);
    state.locations.fileListPath = readLocation(store, kFileListValue, result.message);
    state.locations.outputDir = readLocation(store, kOutputValue, result.message);
    state.fields.outputDirText = state.locations.outputDir;

    state.startup.fileDone = false;
    // First run is decided by the stored file-list location alone.
    if (state.locations.fileListPath.empty() && !remainder.empty()) {
        appendLine(result.message, std::string(msg::kFirstRunRefusal));
        return result;
    }
    if (!fitsStartupFileField(remainder)) {
        appendLine(result.message, fillIn(msg::kStartupFileTooLong, remainder));
        return result;
    }
    state.startup.file = remainder;
    result.runWindow = true;
    return result;
}

void writeSettingsAtExit(SettingsStore& store, const ConverterState& state) {
    store.setString(kVersionSection, kVersionValue, std::string(msg::kVersion));
    store.setString(kLocationsSection, kArchiveValue, state.locations.archivePath);
    store.setString(kLocationsSection, kPaletteValue, state.locations.paletteLocation);
    store.setString(kLocationsSection, kFileListValue, state.locations.fileListPath);
    store.setString(kLocationsSection, kOutputValue, state.locations.outputDir);
}

} // namespace pixmorph
