#pragma once
// The main window's archive commands: Locate Archive and the pick from the archive list, which
// extracts the chosen sprite into the output directory and shows it.

namespace pixmorph {

struct ConverterState;
struct FrameWindow;
class ListOps;
class MessageOps;
class PickerOps;
class ArchiveLibrary;

enum class ArchiveSource {
    picker, // the Locate Archive command asks for it
    stored, // start-up opens the stored location
};

// Locate Archive: takes the archive from the picker or the stored location, then fills the
// list.
void locateArchive(ConverterState& state, ArchiveSource source, ListOps& list, PickerOps& pickers,
                   MessageOps& messages, ArchiveLibrary& library);

// Runs when the archive drop-down closes: asks, extracts the selected name, shows the file.
void extractChosenFile(ConverterState& state, ListOps& list, const FrameWindow& window,
                       ArchiveLibrary& library);

} // namespace pixmorph
