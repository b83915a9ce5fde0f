#pragma once
// The main window's logic: initialisation, first paint and every command handler, written
// against WindowOps so that it runs without a display.

#include "app/converter_state.h"

#include <string>

namespace pixmorph {

class WindowOps;
class ArchiveLibrary;
class FileAssociationSink;

class MainWindowLogic {
public:
    // programPath: where the program really is; the file association registers it.
    MainWindowLogic(ConverterState& state, WindowOps& window, ArchiveLibrary& archive,
                    FileAssociationSink& association, std::string programPath);

    // Runs once before the window is first shown (first-run set-up, palette, archive,
    // restricted start, splash).
    void initialise();
    // Every paint: the first one after initialisation loads the start-up file.
    void paint();
    // A button or check box click, by control id; the about command by its id (16). -=EXIT=-
    // (2) closes the window cancelled.
    void command(int id);
    // The archive drop-down closed up.
    void archiveListClosed();
    // Enter (accept): read the controls, then close.
    void accept();

private:
    void firstRunSetUp();
    // sheetColumns above 0: a PNG sheet and its JSON instead of the bitmaps and their list.
    void runExport(int sheetColumns = 0);
    void runCompile(bool compact = false);
    void scale();
    void loadExternalFile();
    void setOutputDirectory();
    void resetLocations();
    // Frame navigation by `step` frames (negative: backward), clamped to the frame range.
    void navigate(int step);
    void restoreArrowsAfterEmptySprite();

    ConverterState& state_;
    WindowOps& window_;
    ArchiveLibrary& archive_;
    FileAssociationSink& association_;
    std::string programPath_;
    bool arrowsOffForEmptySprite_ = false;
};

} // namespace pixmorph
