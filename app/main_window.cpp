#include "app/main_window.h"

#include "app/archive_commands.h"
#include "app/control_ids.h"
#include "app/file_association.h"
#include "app/job_windows.h"
#include "app/load_palette.h"
#include "app/show_frame.h"
#include "app/window_ops.h"
#include "jobs/export_job.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <utility>

namespace pixmorph {

namespace {

constexpr const char* kFileListName = "sc_data.txt";
// Started on this bare name, the program is a viewer: the file commands stay disabled.
constexpr const char* kRestrictedStartupFile = "temp.grp";
constexpr int kRestrictedControls[] = {
    ids::kLoadExternalFile, ids::kSetOutputDirectory, ids::kWriteOutBmps,   ids::kCompileToGrp,
    ids::kLocateArchive,    ids::kArchiveList,        ids::kFlatNameFormat, ids::kLoadPalette,
};

std::string absoluteProgramPath(const std::string& programPath) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(programPath, error);
    return error ? programPath : absolute.string();
}

} // namespace

MainWindowLogic::MainWindowLogic(ConverterState& state, WindowOps& window, ArchiveLibrary& archive,
                                 FileAssociationSink& association, std::string programPath)
    : state_(state), window_(window), archive_(archive), association_(association),
      programPath_(absoluteProgramPath(programPath)) {}

void MainWindowLogic::initialise() {
    state_.refreshControls(window_);
    if (state_.locations.fileListPath.empty())
        firstRunSetUp();

    if (!state_.locations.paletteLocation.empty()) {
        loadPalette(state_, window_, window_);
    } else {
        state_.fields.paletteNameText = std::string(kDefaultPaletteName);
        state_.palette = DefaultPalette;
    }

    if (!state_.locations.archivePath.empty() && state_.startup.file != kRestrictedStartupFile) {
        locateArchive(state_, ArchiveSource::stored, window_, window_, window_, archive_);
    }

    state_.fields.widthText.clear();
    state_.fields.heightText.clear();
    state_.fields.frameCountText.clear();
    state_.startup.fileDone = false;
    state_.refreshControls(window_);
    state_.shown.clearPreview = true;
    state_.startup.initDone = true;

    if (state_.startup.file == kRestrictedStartupFile)
        for (const int id : kRestrictedControls)
            window_.enableControl(id, false);

    window_.runSplash();
}

void MainWindowLogic::firstRunSetUp() {
    std::error_code error;
    const auto folder = std::filesystem::current_path(error);
    if (!error) {
        const std::string listPath = (folder / kFileListName).string();
        if (fitsLocationField(listPath))
            state_.locations.fileListPath = listPath;
        else
            window_.showMessage(fillIn(msg::kPathTooLong, listPath));
    }
    // The open command must name the program where it really is: the current directory is
    // wherever the program happened to be started from.
    FileAssociation association;
    association.programPath = programPath_;
    association_.registerFileType(association);
}

void MainWindowLogic::paint() {
    if (state_.startup.fileDone || !state_.startup.initDone)
        return;
    state_.startup.fileDone = true;
    if (state_.startup.file.empty())
        return;
    state_.fields.grpNameText = state_.startup.file;
    state_.refreshControls(window_);
    state_.shown.currentFrame = 0;
    showFrame(state_, window_, FrameRequest::firstPaint);
    restoreArrowsAfterEmptySprite();
}

void MainWindowLogic::command(int id) {
    switch (id) {
    case ids::kAboutCommand:
        window_.runAbout();
        break;
    case ids::kExit:
        window_.closeWindow(false);
        break;
    case ids::kWriteOutBmps:
        runExport();
        break;
    case ids::kCompileToGrp:
        runCompile();
        break;
    case ids::kWriteOutSheetCommand:
        runExport(kDefaultSheetColumns);
        break;
    case ids::kCompileCompactCommand:
        runCompile(true);
        break;
    case ids::kScale:
        scale();
        break;
    case ids::kLoadExternalFile:
        loadExternalFile();
        break;
    case ids::kLoadPalette:
        loadPalette(state_, window_, window_);
        break;
    case ids::kLocateArchive:
        locateArchive(state_, ArchiveSource::picker, window_, window_, window_, archive_);
        break;
    case ids::kSetOutputDirectory:
        setOutputDirectory();
        break;
    case ids::kFlatNameFormat:
        state_.readControls(window_);
        break;
    case ids::kPreviousFrame:
        navigate(-1);
        break;
    case ids::kNextFrame:
        navigate(1);
        break;
    case ids::kBackTen:
        navigate(-10);
        break;
    case ids::kForwardTen:
        navigate(10);
        break;
    case ids::kResetLocations:
        resetLocations();
        break;
    default:
        break;
    }
    restoreArrowsAfterEmptySprite();
}

void MainWindowLogic::archiveListClosed() {
    extractChosenFile(state_, window_, window_, archive_);
    restoreArrowsAfterEmptySprite();
}

void MainWindowLogic::accept() {
    state_.readControls(window_);
    window_.closeWindow(true);
}

void MainWindowLogic::runExport(int sheetColumns) {
    ExportWindowSetup setup;
    setup.outputDir = state_.locations.outputDir;
    if (!state_.locations.outputDir.empty())
        state_.shown.grpSelected = true;
    setup.useGivenGrp = state_.shown.grpSelected;
    if (!state_.fields.grpNameText.empty())
        setup.grpName = state_.fields.grpNameText;
    setup.palette = state_.palette;
    setup.sheetColumns = sheetColumns;
    window_.runExportWindow(setup);
}

void MainWindowLogic::runCompile(bool compact) {
    state_.readControls(window_);
    CompileWindowSetup setup;
    setup.outputDir = state_.locations.outputDir;
    setup.palette = state_.palette;
    setup.compact = compact;
    window_.runCompileWindow(setup);
}

void MainWindowLogic::scale() {
    state_.readControls(window_);
    window_.repaintNow();
    state_.shown.grpSelected = true;
    state_.shown.clearPreview = true;
    showFrame(state_, window_);
}

void MainWindowLogic::loadExternalFile() {
    state_.shown.grpSelected = true;
    const std::string path = window_.pickExistingFile(grpPicker());
    if (path.empty())
        return;
    state_.fields.grpNameText = path;
    state_.refreshControls(window_);
    window_.repaintNow();
    state_.shown.currentFrame = 0;
    state_.shown.clearPreview = true;
    showFrame(state_, window_);
}

void MainWindowLogic::setOutputDirectory() {
    const std::optional<std::string> folder =
        window_.pickFolder(std::string(msg::kOutputFolderTitle));
    if (!folder)
        return;
    if (!fitsLocationField(*folder)) {
        window_.showMessage(fillIn(msg::kPathTooLong, *folder));
        return;
    }
    state_.locations.outputDir = *folder;
    state_.fields.outputDirText = state_.locations.outputDir;
    state_.refreshControls(window_);
}

void MainWindowLogic::resetLocations() {
    state_.locations.archivePath.clear();
    state_.locations.paletteLocation.clear();
    state_.locations.fileListPath.clear();
    state_.locations.outputDir.clear();
    accept();
}

void MainWindowLogic::navigate(int step) {
    // Worked out in 64 bits so no step can overflow; the result always lies in the frame range.
    std::int64_t frame = std::int64_t{state_.shown.currentFrame} + step;
    const std::int64_t count = state_.shown.frameCount;
    if (count <= 0) {
        // No frames: nothing to step to, and frame 0 is not in the table either.
        window_.enableControl(ids::kPreviousFrame, false);
        window_.enableControl(ids::kNextFrame, false);
        arrowsOffForEmptySprite_ = true;
        frame = 0;
    } else if (step < 0) {
        const bool atFirst = frame < 1;
        window_.enableControl(ids::kPreviousFrame, !atFirst);
        if (atFirst)
            frame = 0;
        window_.enableControl(ids::kNextFrame, true);
    } else {
        const bool atLast = frame > count - 2;
        window_.enableControl(ids::kNextFrame, !atLast);
        if (atLast)
            frame = count - 1;
        window_.enableControl(ids::kPreviousFrame, true);
    }
    state_.shown.currentFrame = static_cast<std::int32_t>(frame);
    state_.fields.frameNumberText = std::to_string(state_.shown.currentFrame);
    state_.refreshControls(window_);
    showFrame(state_, window_);
}

void MainWindowLogic::restoreArrowsAfterEmptySprite() {
    // Both arrows went off on a sprite without frames; once a sprite with frames is shown they
    // come back, or the window would keep them off for good.
    if (!arrowsOffForEmptySprite_ || state_.shown.frameCount <= 0)
        return;
    arrowsOffForEmptySprite_ = false;
    window_.enableControl(ids::kPreviousFrame, state_.shown.currentFrame > 0);
    window_.enableControl(ids::kNextFrame, state_.shown.currentFrame < state_.shown.frameCount - 1);
}

} // namespace pixmorph
