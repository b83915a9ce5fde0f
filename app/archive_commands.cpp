#include "app/archive_commands.h"

#include "app/converter_state.h"
#include "app/show_frame.h"
#include "app/window_ops.h"
#include "archive/archive_library.h"
#include "archive/extraction.h"
#include "archive/offered_names.h"
#include "archive/shipped_name_list.h"
#include "core/messages.h"

namespace pixmorph {

namespace {

std::string saveQuestion(const std::string& name, const ConverterState& state) {
    return "Save File:\n" + name + "\n\nIn directory:\n" + state.outputDir +
           (state.flatNameFormat ? "\n\nUsing 'unit_zerg_zergling.grp' format?"
                                 : "\n\nUsing subdirectory format?");
}

} // namespace

void locateArchive(ConverterState& state, WindowOps& window, ArchiveLibrary& library) {
    window.clearList();
    if (!state.useStoredArchive) {
        state.archivePath = window.pickExistingFile(archivePicker());
        // A path too long for its field counts as no answer, as a full picker buffer did.
        if (!fitsLocationField(state.archivePath))
            state.archivePath.clear();
        if (!endsWithIgnoringCase(state.archivePath, "mpq")) {
            state.useStoredArchive = false;
            state.archivePath.clear();
            window.showMessage(std::string(msg::kNotMpq));
            return;
        }
        state.useStoredArchive = true;
    }
    // Every run leaves the flag clear, whatever happens next.
    state.useStoredArchive = false;
    // Without a list of the user's own at the stored location, the shipped one serves.
    if (!library.openArchiveAndList(state.archivePath, nameListToUse(state.fileListPath))) {
        window.showMessage(std::string(msg::kArchiveFailed));
        return;
    }
    for (const auto& name : offeredNames(library.found()))
        window.addListItem(name);
    window.selectFirstListItem();
}

void extractChosenFile(ConverterState& state, WindowOps& window, ArchiveLibrary& library) {
    if (window.listCount() == 0)
        return;
    const std::string chosen = window.selectedListText();
    // A name that would be refused is refused before the question, not after a Yes.
    if (const auto refusal = refuseArchiveName(chosen)) {
        window.showMessage(*refusal);
        return;
    }
    if (window.showMessage(saveQuestion(chosen, state), MessageIcon::exclamation, true) !=
        MessageAnswer::yes)
        return;
    const NameFormat format = state.flatNameFormat ? NameFormat::flat : NameFormat::subdirectories;
    const ExtractionResult result = extractArchiveFile(library, chosen, state.outputDir, format);
    if (!result.ok()) {
        window.showMessage(result.error, result.icon);
        return;
    }
    state.grpNameText = result.path;
    state.refreshControls(window);
    state.grpSelected = true;
    state.currentFrame = 0;
    state.clearPreview = true;
    showFrame(state, window);
}

} // namespace pixmorph
