#pragma once
// The main window's archive commands: Locate Archive and the pick from the archive list, which
// extracts the chosen sprite into the output directory and shows it.

namespace pixmorph {

struct ConverterState;
class WindowOps;
class ArchiveLibrary;

// Locate Archive (asks for the archive unless useStoredArchive is set), then fills the list.
void locateArchive(ConverterState& state, WindowOps& window, ArchiveLibrary& library);

// Runs when the archive drop-down closes: asks, extracts the selected name, shows the file.
void extractChosenFile(ConverterState& state, WindowOps& window, ArchiveLibrary& library);

} // namespace pixmorph
