#pragma once
// Start-up and exit: the stored locations read into the state, the start-up file taken from
// the command line (or refused on a first run), and the locations and version written back.

#include "app/converter_state.h"
#include "app/settings_store.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pixmorph {

inline constexpr const char* kSettingsOrganisation = "Quillbright GRP File converter";
inline constexpr const char* kSettingsApplication = "Pixmorph";

// The command-line remainder: the program's arguments (without the program's own name) joined
// by single blanks, so a path with blanks passed unquoted is taken whole.
std::string commandLineRemainder(const std::vector<std::string>& arguments);

struct StartupResult {
    // false: the program ends after the message, and nothing is written to the store.
    bool runWindow = false;
    // Shown (exclamation icon) before the window runs or the program ends, when not empty.
    // A stored location too long for its field is left empty with a message and the window
    // still runs; a first run with a file, or a file name too long for its field, ends it.
    std::string message;
};

// Reads the four locations and takes the start-up file. Refuses a first run with a file, and
// stored values or a file name longer than their fields, with a message.
StartupResult startUp(SettingsStore& store, ConverterState& state, const std::string& remainder);

// Writes "Version"/"VersionNumber" and the four locations, in that order.
void writeSettingsAtExit(SettingsStore& store, const ConverterState& state);

} // namespace pixmorph
