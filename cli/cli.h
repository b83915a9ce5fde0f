#pragma once
// pixmorph-cli: the converter's commands on the same code path as the desktop program.
//   export [--unique] [--palette FILE] [--output-dir DIR] GRP...
//   compile [--compact] [--palette FILE] [--output-dir DIR] LIST...
//   info GRP...
//   list --names LISTFILE ARCHIVE
//   extract [--flat] --names LISTFILE [--output-dir DIR] ARCHIVE NAME...
// Exit status 0 when every input succeeded, 1 when any failed, 2 for a usage error.

#include <string>
#include <vector>

namespace pixmorph::cli {

int run(int argc, char** argv);

using Args = std::vector<std::string>; // the command's arguments, without the command name

int runExport(const Args& args);
int runCompile(const Args& args);
int runInfo(const Args& args);
int runList(const Args& args);
int runExtract(const Args& args);

} // namespace pixmorph::cli
