#include "app/archive_commands.h"

#include "app/converter_state.h"
#include "app/show_frame.h"
#include "app/window_ops.h"
#include "archive/archive_library.h"
#include "archive/extraction.h"
#include "archive/offered_names.h"
#include "archive/shipped_name_list.h"
#include "core/messages.h"
#include "core/text_rules.h"

namespace pixmorph {

namespace {

std::string saveQuestion(const std::string& name, const ConverterState& state) {
    return "Save File:\n" + name + "\n\nIn directory:\n" + state.locations.outputDir +
           (state.fields.flatNameFormat ? "\n\nUsing 'unit_zerg_zergling.grp' format?"
                                        : "\n\nUsing subdirectory format?");
}

} // namespace

void locateArchive(ConverterState& state, ArchiveSource source, ListOps& list, PickerOps& pickers,
                   MessageOps& messages, ArchiveLibrary& library) {
    list.clearList();
    if (source == ArchiveSource::picker) {
        state.locations.archivePath = pickers.pickExistingFile(archivePicker());
        // A path too long for its field counts as no answer, as a full picker buffer did.
        if (!fitsLocationField(state.locations.archivePath))
            state.locations.archivePath.clear();
        if (!endsWithIgnoringCase(state.locations.archivePath, "mpq")) {
            state.locations.archivePath.clear();
            messages.showMessage(std::string(msg::kNotMpq));
            return;
        }
    }
    // Without a list of the user's own at the stored location, the shipped one serves.
    if (!library.openArchiveAndList(state.locations.archivePath,
                                    nameListToUse(state.locations.fileListPath))) {
        messages.showMessage(std::string(msg::kArchiveFailed));
        return;
    }
    for (const auto& name : offeredNames(library.found()))
        list.addListItem(name);
    list.selectFirstListItem();
}

void extractChosenFile(ConverterState& state, ListOps& list, const FrameWindow& window,
                       ArchiveLibrary& library) {
    if (list.listCount() == 0)
        return;
    const std::string chosen = list.selectedListText();
    MessageOps& messages = window.messages;
    // A name that would be refused is refused before the question, not after a Yes.
    if (const auto refusal = refuseArchiveName(chosen)) {
        messages.showMessage(*refusal);
        return;
    }
    if (messages.showMessage(saveQuestion(chosen, state), MessageIcon::exclamation, true) !=
        MessageAnswer::yes)
        return;
    const NameFormat format =
        state.fields.flatNameFormat ? NameFormat::flat : NameFormat::subdirectories;
    const ExtractionResult result =
        extractArchiveFile(library, chosen, state.locations.outputDir, format);
    if (!result.ok()) {
        messages.showMessage(result.error, result.icon);
        return;
    }
    state.fields.grpNameText = result.path;
    state.refreshControls(window.controls);
    state.shown.grpSelected = true;
    state.shown.currentFrame = 0;
    state.shown.clearPreview = true;
    showFrame(state, window);
}

} // namespace pixmorph
