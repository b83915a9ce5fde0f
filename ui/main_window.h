#pragma once
// The main window: the template's controls, the preview layer, and the platform operations the
// logic (MainWindowLogic) works through. Every command is the logic's; this class only routes
// clicks, keys and the list's close-up to it.

#include "app/main_window.h"
#include "app/window_ops.h"
#include "ui/drop_answering_services.h"
#include "ui/preview_extras.h"
#include "ui/preview_layer.h"
#include "ui/template_dialog.h"

namespace pixmorph {
class ArchiveLibrary;
class FileAssociationSink;
} // namespace pixmorph

namespace pixmorph::ui {

class ArchiveList;
class DialogServices;

class MainWindow : public TemplateDialog, public WindowOps {
public:
    // Drops a file or folder as its command's picker would have chosen it.
    void dropPath(const std::string& path, bool isFolder);

    MainWindow(ConverterState& state, ArchiveLibrary& archive, FileAssociationSink& association,
               std::string programPath, DialogServices& services);

    // Initialises (first-run set-up, palette, archive, splash), then runs until closed.
    int run();

    MainWindowLogic& logic() { return logic_; }
    PreviewExtras& extras() { return extras_; }
    const PreviewLayer& previewLayer() const { return layer_; }
    ArchiveList& archiveList() const;

    void setControlText(int id, const std::string& text) override;
    bool isChecked(int id) const override;
    void setChecked(int id, bool checked) override;
    void enableControl(int id, bool enabled) override;
    void repaintNow() override;
    void clearList() override;
    void addListItem(const std::string& text) override;
    void selectFirstListItem() override;
    int listCount() const override;
    std::string selectedListText() const override;
    MessageAnswer showMessage(const std::string& text, MessageIcon icon = MessageIcon::exclamation,
                              bool yesNo = false) override;
    std::string pickExistingFile(const FilePickerSettings& settings) override;
    std::optional<std::string> pickFolder(const std::string& title) override;
    void closeWindow(bool accepted) override;
    PreviewSurface& preview() override { return surface_; }
    void runExportWindow(const ExportWindowSetup& setup) override;
    void runCompileWindow(const CompileWindowSetup& setup) override;
    void runAbout() override;
    void runSplash() override;

    // Escape and the close box: closed as -=EXIT=- closes it.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void connectControls();
    // Routes a command to the logic, with what playback and the large preview do around it.
    void runCommand(int id);

    ConverterState& state_;
    DropAnsweringServices dropServices_;
    DialogServices& services_;
    PreviewLayer layer_;
    QtPreviewSurface surface_;
    MainWindowLogic logic_;
    PreviewExtras extras_;
    bool closed_ = false;
    bool firstPaintQueued_ = false;
};

// The text of the about item offered in the window's context menu (and on F1).
inline constexpr const char* kAboutItemText = "&About Pixmorph";
inline constexpr const char* kWriteOutSheetItemText = "Write Out &Sheet\u2026";
inline constexpr const char* kCompileCompactItemText = "Compile &Compact\u2026";

} // namespace pixmorph::ui
