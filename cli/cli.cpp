#include "cli/cli.h"

#ifndef PIXMORPH_NO_ARCHIVES
#include "archive/shipped_name_list.h"
#include "cli/archive_options.h"
#endif
#include "cli/job_command.h"
#include "core/frame_ranges.h"
#include "core/version.h"
#include "jobs/gif_animation.h"

#include <CLI/CLI.hpp>
#include <iostream>

namespace pixmorph::cli {

namespace {

constexpr std::pair<std::string_view, std::string_view> kUsages[] = {
    {"export", kExportUsage}, {"compile", kCompileUsage}, {"info", kInfoUsage},
#ifndef PIXMORPH_NO_ARCHIVES // a build without StormLib (the web's) reads no archives
    {"list", kListUsage},     {"extract", kExtractUsage},
#endif
};

void printUsage(std::ostream& out) {
    std::string_view start = "usage: ";
    for (const auto& [name, usage] : kUsages) {
        out << start << usage << '\n';
        start = "       ";
    }
    out << start << "pixmorph-cli --help | --version | CMD --help\n";
}

// A value check whose failure reads "--option: problem".
CLI::Validator rule(std::function<bool(const std::string&)> holds, std::string problem) {
    return CLI::Validator(
        [holds = std::move(holds), problem = std::move(problem)](std::string& value) {
            return holds(value) ? std::string() : problem;
        },
        "");
}

const CLI::Validator kNotEmpty =
    rule([](const std::string& v) { return !v.empty(); }, "an empty name");

CLI::Validator countUpTo(int most) {
    return rule(
        [most](const std::string& v) {
            return !v.empty() && v.size() <= 4 &&
                   v.find_first_not_of("0123456789") == std::string::npos && std::stoi(v) >= 1 &&
                   std::stoi(v) <= most;
        },
        "takes a count from 1 to " + std::to_string(most));
}

// --output-dir DIR [--mkdir], shared by the commands that write.
void addOutputFolder(CLI::App& command, std::string& dir, bool& make) {
    CLI::Option* output = command.add_option("--output-dir", dir)->check(kNotEmpty);
    command.add_flag("--mkdir", make)->needs(output);
}

void addJobCommand(CLI::App& app, std::string_view name, JobOptions& options) {
    CLI::App& command = *app.add_subcommand(std::string(name));
    addOutputFolder(command, options.outputDir, options.makeOutputDir);
    command.add_option("--palette", options.paletteFile)->check(kNotEmpty);
    command.add_option("FILE", options.inputs)->check(kNotEmpty);
}

// Problems the options alone cannot show, found once all are read.
std::string jobProblem(const JobOptions& options) {
    return options.inputs.empty() ? "no input file" : "";
}

#ifndef PIXMORPH_NO_ARCHIVES
std::string archiveProblem(const ArchiveOptions& options, bool extracting) {
    const std::size_t given = options.operands.size();
    if (given == 0)
        return "no archive";
    if (options.operands.front().empty())
        return "an empty archive name";
    // extract --all takes the archive alone; list --all changes only what is shown.
    if (extracting && options.all)
        return given > 1 ? "--all takes no names" : "";
    if (extracting)
        return given < 2 ? "no name" : "";
    return given > 1 ? "too many arguments" : "";
}
#endif

} // namespace

int run(int argc, char** argv) {
    CLI::App app("pixmorph-cli");
    app.set_help_flag("--help,-h");
    app.set_version_flag("--version", "pixmorph-cli " PIXMORPH_VERSION);
    app.require_subcommand(1);
    // A repeated option keeps its last value, as it always has.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    JobOptions exporting, compiling;
    addJobCommand(app, "export", exporting);
    CLI::App& exportCommand = *app.get_subcommand("export");
    exportCommand.add_flag_function("--unique",
                                    [&](std::int64_t) { exporting.mode = ExportMode::unique; });
    CLI::Option* format =
        exportCommand
            .add_option_function<std::string>("--format",
                                              [&](const std::string& v) {
                                                  exporting.format = v == "png"
                                                                         ? PictureFormat::png
                                                                         : PictureFormat::bmp;
                                              })
            ->check(rule([](const std::string& v) { return v == "bmp" || v == "png"; },
                         "takes bmp or png"));
    std::string frames;
    exportCommand.add_option("--frames", frames)
        ->check(rule([](const std::string& v) { return parseFrameRanges(v).has_value(); },
                     "takes frame numbers and ranges, as 0-16,34"));
    CLI::Option* sheet = exportCommand.add_flag_function(
        "--sheet", [&](std::int64_t) { exporting.sheetColumns = kDefaultSheetColumns; });
    int columns = 0, fps = 0;
    exportCommand.add_option("--columns", columns)->check(countUpTo(9999))->needs(sheet);
    CLI::Option* gif = exportCommand.add_flag_function(
        "--gif", [&](std::int64_t) { exporting.gifFps = kDefaultGifFps; });
    gif->excludes(sheet)->excludes(format);
    exportCommand.add_option("--fps", fps)->check(countUpTo(kMostGifFps))->needs(gif);

    addJobCommand(app, "compile", compiling);
    CLI::App& compileCommand = *app.get_subcommand("compile");
    compileCommand.add_flag("--partial", compiling.partial);
    CLI::Option* compact = compileCommand.add_flag("--compact", compiling.compact);
    compileCommand
        .add_flag_function("--uncompressed",
                           [&](std::int64_t) { compiling.encoding = SpriteEncoding::uncompressed; })
        ->excludes(compact);

    std::vector<std::string> grps;
    app.add_subcommand("info")->add_option("GRP", grps);

#ifndef PIXMORPH_NO_ARCHIVES
    ArchiveOptions listing, extracting;
    for (ArchiveOptions* options : {&listing, &extracting}) {
        const bool extract = options == &extracting;
        CLI::App& command = *app.add_subcommand(extract ? "extract" : "list");
        command.add_flag("--all", options->all);
        command.add_option("--names", options->nameList)->check(kNotEmpty);
        command.add_option("operands", options->operands);
        if (extract) {
            command.add_flag("--flat", options->flat);
            addOutputFolder(command, options->outputDir, options->makeOutputDir);
        }
    }
#endif

    const auto usageFor = [&](std::string_view name) {
        for (const auto& [command, usage] : kUsages)
            if (command == name)
                return usage;
        return std::string_view();
    };
    const std::string_view name = argc > 1 ? argv[1] : "";
    const std::string_view usage = usageFor(name);
    const auto usageError = [&](const std::string& problem) {
        std::cerr << (usage.empty() ? "pixmorph-cli" : "pixmorph-cli " + std::string(name)) << ": "
                  << problem << '\n';
        if (usage.empty())
            printUsage(std::cerr);
        else
            std::cerr << "usage: " << usage << '\n';
        return 2;
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        if (usage.empty())
            printUsage(std::cout);
        else
            std::cout << "usage: " << usage << '\n';
        return 0;
    } catch (const CLI::CallForVersion& version) {
        std::cout << version.what() << '\n';
        return 0;
    } catch (const CLI::ParseError& error) {
        if (argc < 2) {
            printUsage(std::cerr);
            return 2;
        }
        if (usage.empty() && !name.starts_with('-'))
            return usageError("unknown command '" + std::string(name) + "'");
        // The parser's words for an option given without its value are its own ("1 required
        // TEXT missing"); ours name the option.
        std::string problem = error.what();
        if (const std::size_t colon = problem.find(": "); error.get_name() == "ArgumentMismatch" &&
                                                          colon != std::string::npos &&
                                                          problem.ends_with("missing"))
            problem = problem.substr(0, colon) + " needs a value";
        return usageError(problem);
    }

    if (name == "export" || name == "compile") {
        JobOptions& options = name == "export" ? exporting : compiling;
        if (const std::string problem = jobProblem(options); !problem.empty())
            return usageError(problem);
        if (columns > 0)
            options.sheetColumns = columns;
        if (fps > 0)
            options.gifFps = fps;
        options.frames = parseFrameRanges(frames).value_or(std::vector<FrameRange>{});
        return name == "export" ? runExport(options) : runCompile(options);
    }
    if (name == "info")
        return grps.empty() ? usageError("no input file") : runInfo(grps);
#ifdef PIXMORPH_NO_ARCHIVES
    return 2; // not reached: the parser knows no other command
#else
    ArchiveOptions& options = name == "list" ? listing : extracting;
    if (const std::string problem = archiveProblem(options, name == "extract"); !problem.empty())
        return usageError(problem);
    if (options.nameList.empty())
        options.nameList = shippedNameListPath();
    return name == "list" ? runList(options) : runExtract(options);
#endif
}

} // namespace pixmorph::cli
