#include "cli/job_command.h"

#include "cli/cli_job_delegate.h"
#include "cli/output_folder.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "jobs/gif_animation.h"

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
        } else if (arg == "--format" && command.takesExportForms) {
            if (i + 1 == args.size() || (args[i + 1] != "bmp" && args[i + 1] != "png"))
                return usageError(command, "--format takes bmp or png");
            options.format = args[++i] == "png" ? PictureFormat::png : PictureFormat::bmp;
        } else if (arg == "--sheet" && command.takesExportForms) {
            options.sheetColumns = kDefaultSheetColumns;
        } else if (arg == "--gif" && command.takesExportForms) {
            options.gifFps = kDefaultGifFps;
        } else if ((arg == "--columns" || arg == "--fps") && command.takesExportForms) {
            const int most = arg == "--fps" ? kMostGifFps : 9999;
            const std::string value = i + 1 < args.size() ? args[++i] : "";
            if (value.empty() || value.size() > 4 ||
                value.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(value) < 1 || std::stoi(value) > most)
                return usageError(command,
                                  arg + " takes a count from 1 to " + std::to_string(most));
            (arg == "--fps" ? options.fps : options.columns) = std::stoi(value);
        } else if (arg == "--frames" && command.takesExportForms) {
            auto ranges = i + 1 < args.size() ? parseFrameRanges(args[i + 1]) : std::nullopt;
            if (!ranges)
                return usageError(command, "--frames takes frame numbers and ranges, as 0-16,34");
            options.frames = std::move(*ranges);
            ++i;
        } else if (arg == "--partial" && command.takesPartial) {
            options.partial = true;
        } else if (arg == "--uncompressed" && command.takesUncompressed) {
            options.encoding = SpriteEncoding::uncompressed;
        } else if (arg == "--compact" && command.takesCompact) {
            options.compact = true;
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
    if (options.compact && options.encoding == SpriteEncoding::uncompressed)
        return usageError(command, "--compact writes run-length rows, not --uncompressed ones");
    if (options.columns && options.sheetColumns == 0)
        return usageError(command, "--columns needs --sheet");
    if (options.columns)
        options.sheetColumns = *options.columns;
    if (options.fps && options.gifFps == 0)
        return usageError(command, "--fps needs --gif");
    if (options.fps)
        options.gifFps = *options.fps;
    if (options.gifFps > 0 && (options.sheetColumns > 0 || options.format))
        return usageError(command, "--gif goes without --sheet and --format");
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
