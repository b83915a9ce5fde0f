#include "cli/job_command.h"

#include "cli/cli_job_delegate.h"
#include "cli/output_folder.h"
#include "core/file_io.h"
#include "core/messages.h"

#include <iostream>
#include <unistd.h>

namespace pixmorph::cli {

namespace {

std::nullopt_t usageError(const JobCommand& command, const std::string& problem) {
    std::cerr << "pixmorph-cli " << command.name << ": " << problem << '\n'
              << "usage: " << command.usage << '\n';
    return std::nullopt;
}

} // namespace

std::optional<JobOptions> parseJobOptions(const JobCommand& command, const Args& args) {
    JobOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            if (arg.empty())
                return usageError(command, "an empty file name");
            options.inputs.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--unique" && command.takesUnique) {
            options.mode = ExportMode::unique;
        } else if (arg == "--uncompressed" && command.takesUncompressed) {
            options.encoding = SpriteEncoding::uncompressed;
        } else if (arg == "--mkdir") {
            options.makeOutputDir = true;
        } else if (arg == "--palette" || arg == "--output-dir") {
            if (i + 1 == args.size() || args[i + 1].empty())
                return usageError(command, arg + " needs a value");
            if (arg == "--palette")
                options.paletteFile = args[++i];
            else
                options.outputDir = args[++i];
        } else {
            return usageError(command, "unknown option " + arg);
        }
    }
    if (options.inputs.empty())
        return usageError(command, "no input file");
    if (options.makeOutputDir && options.outputDir.empty())
        return usageError(command, "--mkdir needs --output-dir");
    return options;
}

std::optional<Palette> readPaletteOption(const std::optional<std::string>& file) {
    if (!file)
        return DefaultPalette;
    if (!isPaletteFileName(*file)) {
        printMessageLine(*file, std::string(msg::kPaletteNotRead));
        return std::nullopt;
    }
    const FileReadResult read = readWholeFile(*file);
    if (!read.ok()) {
        printMessageLine(*file, fileErrorMessage(read.error, *file));
        return std::nullopt;
    }
    // The desktop carries on in the built-in colours after its message; a command asked for
    // these colours, so it converts nothing rather than succeed in others.
    const PaletteFile palette = readPaletteFile(read.data, *file);
    if (palette.kind == PaletteFileKind::notRecognised) {
        printMessageLine(*file, std::string(msg::kPaletteUnknownRefused));
        return std::nullopt;
    }
    if (palette.kind == PaletteFileKind::jascNot256) {
        printMessageLine(*file, std::string(msg::kPaletteNot256Refused));
        return std::nullopt;
    }
    // The desktop reads the colours a short file holds and leaves the rest black.
    if (palette.kind == PaletteFileKind::raw && read.data.size() < kRawPaletteSize) {
        printMessageLine(
            *file, fillIn(msg::kPaletteShortRefused, {*file, std::to_string(read.data.size())}));
        return std::nullopt;
    }
    return palette.palette;
}

int runJobCommand(const JobCommand& command, const Args& args, const RunJob& runJob) {
    const std::optional<JobOptions> options = parseJobOptions(command, args);
    if (!options)
        return 2;
    const std::optional<Palette> palette = readPaletteOption(options->paletteFile);
    if (!palette || !readyOutputFolder(options->outputDir, options->makeOutputDir))
        return 1;
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    bool allFinished = true;
    for (const std::string& input : options->inputs) {
        CliJobDelegate delegate(options->mode, input, showProgress);
        if (runJob(delegate, input, *options, *palette) != JobOutcome::finished)
            allFinished = false;
    }
    return allFinished ? 0 : 1;
}

} // namespace pixmorph::cli
