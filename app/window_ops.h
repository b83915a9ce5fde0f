#pragma once
// What the main window's logic needs of the platform, in groups by purpose: the controls, the
// archive list, message boxes, pickers, the preview and the modal windows. The Qt window
// implements all of them (WindowOps); a test fake implements the groups its test uses.

#include "core/messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pixmorph {

struct ExportWindowSetup;
struct CompileWindowSetup;

struct FilePickerSettings {
    std::string title;
    std::string filterName;    // e.g. "Sprite Files *.grp"
    std::string filterPattern; // e.g. "*.grp"
    std::string defaultExtension;
    // Further filters offered after the first, as name and patterns ("*.wpe *.act").
    std::vector<std::pair<std::string, std::string>> moreFilters = {};
};

// The four pickers of the program.
FilePickerSettings grpPicker();
FilePickerSettings qblPicker();
FilePickerSettings palettePicker();
FilePickerSettings archivePicker();

enum class MessageAnswer { ok, yes, no };

// The window's fields, check boxes and buttons, by control id.
class ControlOps {
public:
    virtual ~ControlOps() = default;
    virtual void setControlText(int id, const std::string& text) = 0;
    virtual bool isChecked(int id) const = 0;
    virtual void setChecked(int id, bool checked) = 0;
    virtual void enableControl(int id, bool enabled) = 0;
    virtual void repaintNow() = 0;
};

// The sorted drop-down list of archive names.
class ListOps {
public:
    virtual ~ListOps() = default;
    virtual void clearList() = 0;
    virtual void addListItem(const std::string& text) = 0;
    virtual void selectFirstListItem() = 0;
    virtual int listCount() const = 0;
    virtual std::string selectedListText() const = 0;
};

class MessageOps {
public:
    virtual ~MessageOps() = default;
    virtual MessageAnswer showMessage(const std::string& text,
                                      MessageIcon icon = MessageIcon::exclamation,
                                      bool yesNo = false) = 0;
};

class PickerOps {
public:
    virtual ~PickerOps() = default;
    // The chosen full path, or empty when cancelled. Afterwards the process's current
    // directory is the chosen file's folder.
    virtual std::string pickExistingFile(const FilePickerSettings& settings) = 0;
    // The chosen folder, or nullopt when cancelled or not a file-system folder.
    virtual std::optional<std::string> pickFolder(const std::string& title) = 0;
};

// The off-screen image the preview is painted into, and the window area it is copied to.
class PreviewSurface {
public:
    virtual ~PreviewSurface() = default;
    // Prepares an off-screen image of at least 255 x 255.
    virtual void beginFrame() = 0;
    virtual void setPixel(int x, int y, std::uint32_t colour) = 0;
    // Fills the preview box of the window with black.
    virtual void fillPreviewBlack() = 0;
    // Copies (0, 0, srcWidth, srcHeight) of the off-screen image to the window rectangle at
    // (left, top) of the given size, stretched.
    virtual void stretchToWindow(int srcWidth, int srcHeight, int left, int top, int width,
                                 int height) = 0;
    virtual void endFrame() = 0;
};

// The window's own closing and the modal windows it opens.
class ChildWindowOps {
public:
    virtual ~ChildWindowOps() = default;
    virtual void closeWindow(bool accepted) = 0;
    virtual void runExportWindow(const ExportWindowSetup& setup) = 0;
    virtual void runCompileWindow(const CompileWindowSetup& setup) = 0;
    virtual void runAbout() = 0;
    virtual void runSplash() = 0;
};

// The whole main window.
class WindowOps : public ControlOps,
                  public ListOps,
                  public MessageOps,
                  public PickerOps,
                  public ChildWindowOps {
public:
    virtual PreviewSurface& preview() = 0;
};

// The groups that show a frame: its fields, a message about its file, the preview.
struct FrameWindow {
    FrameWindow(ControlOps& controls, MessageOps& messages, PreviewSurface& preview)
        : controls(controls), messages(messages), preview(preview) {}
    FrameWindow(WindowOps& window) // NOLINT: the main window is a frame window
        : controls(window), messages(window), preview(window.preview()) {}

    ControlOps& controls;
    MessageOps& messages;
    PreviewSurface& preview;
};

} // namespace pixmorph
