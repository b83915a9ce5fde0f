#pragma once
// pixmorph-cli: the converter's commands on the same code path as the desktop program.
// Exit status 0 when every input succeeded, 1 when any failed, 2 for a usage error; CMD --help
// prints the command's usage.

#include <string>
#include <string_view>
#include <vector>

namespace pixmorph::cli {

inline constexpr std::string_view kExportUsage =
    "pixmorph-cli export [--unique] [--format bmp|png] [--frames RANGES] [--sheet [--columns N]] "
    "[--gif [--fps N]] "
    "[--palette FILE] [--output-dir DIR [--mkdir]] GRP...";
inline constexpr std::string_view kCompileUsage =
    "pixmorph-cli compile [--compact | --uncompressed] [--partial] [--palette FILE] "
    "[--output-dir DIR [--mkdir]] LIST|SHEET.json...";
inline constexpr std::string_view kInfoUsage = "pixmorph-cli info GRP...";
inline constexpr std::string_view kListUsage =
    "pixmorph-cli list [--all] [--names LISTFILE] ARCHIVE";
inline constexpr std::string_view kExtractUsage =
    "pixmorph-cli extract [--flat] [--names LISTFILE] [--output-dir DIR [--mkdir]] ARCHIVE "
    "NAME...\n"
    "       pixmorph-cli extract --all [--flat] [--names LISTFILE] [--output-dir DIR [--mkdir]] "
    "ARCHIVE";

int run(int argc, char** argv);

using Args = std::vector<std::string>; // the command's arguments, without the command name

int runExport(const Args& args);
int runCompile(const Args& args);
int runInfo(const Args& args);
int runList(const Args& args);
int runExtract(const Args& args);

} // namespace pixmorph::cli
