#pragma once
// The main window's logic: initialisation, first paint and every command handler, written
// against WindowOps so that it runs without a display.

#include "app/converter_state.h"

namespace pixmorph {

class WindowOps;
class ArchiveLibrary;
class FileAssociationSink;

class MainWindowLogic {
public:
    MainWindowLogic(ConverterState& state, WindowOps& window, ArchiveLibrary& archive,
                    FileAssociationSink& association, std::string programPath);

    // Runs once before the window is first shown (first-run set-up, palette, archive,
    // restricted start, splash).
    void initialise();
    // Every paint: the first one after initialisation loads the start-up file.
    void paint();
    // A button or check box click, by control id; the about command by its id.
    void command(int id);
    // The archive drop-down closed up.
    void archiveListClosed();
    // Enter (accept): read the controls, then close.
    void accept();

private:
    ConverterState& state_;
    WindowOps& window_;
    ArchiveLibrary& archive_;
    FileAssociationSink& association_;
    std::string programPath_;
};

} // namespace pixmorph
