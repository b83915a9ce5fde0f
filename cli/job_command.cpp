#include "cli/job_command.h"

#include "cli/cli_job_delegate.h"
#include "cli/jobs_side_by_side.h"
#include "cli/output_folder.h"
#include "cli/terminal_text.h"
#include "core/file_io.h"
#include "core/messages.h"

#include <thread>
#include <unistd.h>

namespace pixmorph::cli {

std::optional<PaletteFile> readPaletteFileOption(const std::string& file) {
    if (!isPaletteFileName(file)) {
        printMessageLine(file, std::string(msg::kPaletteNotRead));
        return std::nullopt;
    }
    const FileReadResult read = readWholeFile(file);
    if (!read.ok()) {
        printMessageLine(file, fileErrorMessage(read.error, file));
        return std::nullopt;
    }
    // The desktop carries on in the built-in colours after its message; a command asked for
    // these colours, so it converts nothing rather than succeed in others.
    const PaletteFile palette = readPaletteFile(read.data, file);
    if (palette.kind == PaletteFileKind::notRecognised) {
        printMessageLine(file, std::string(msg::kPaletteUnknownRefused));
        return std::nullopt;
    }
    if (palette.kind == PaletteFileKind::jascNot256) {
        printMessageLine(file, std::string(msg::kPaletteNot256Refused));
        return std::nullopt;
    }
    // The desktop reads the colours a short file holds and leaves the rest black.
    if (palette.kind == PaletteFileKind::raw && read.data.size() < kRawPaletteSize) {
        printMessageLine(
            file, fillIn(msg::kPaletteShortRefused, {file, std::to_string(read.data.size())}));
        return std::nullopt;
    }
    return palette;
}

std::optional<Palette> readPaletteOption(const std::optional<std::string>& file) {
    if (!file)
        return DefaultPalette;
    const std::optional<PaletteFile> palette = readPaletteFileOption(*file);
    return palette ? std::optional<Palette>(palette->palette) : std::nullopt;
}

int runJobCommand(const JobOptions& options, const RunJob& runJob,
                  [[maybe_unused]] bool sideBySide) {
    const std::optional<Palette> palette = readPaletteOption(options.paletteFile);
    if (!palette || !readyOutputFolder(options.outputDir, options.makeOutputDir))
        return 1;
    const bool showProgress = isTerminal(STDERR_FILENO);
#ifndef PIXMORPH_NO_THREADS
    // A progress line belongs to the one job under way.
    if (sideBySide && !showProgress && options.inputs.size() > 1 &&
        std::thread::hardware_concurrency() != 1)
        return runJobsSideBySide(options, *palette, runJob) ? 0 : 1;
#endif
    bool allFinished = true;
    for (const std::string& input : options.inputs) {
        CliJobDelegate delegate(options.mode, input, showProgress);
        if (runJob(delegate, input, options, *palette) != JobOutcome::finished)
            allFinished = false;
    }
    return allFinished ? 0 : 1;
}

} // namespace pixmorph::cli
