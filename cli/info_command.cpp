// info GRP...: the header and the frame table of each sprite, for scripts and for looking.
#include "cli/cli.h"
#include "cli/cli_job_delegate.h"
#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/grp_name.h"
#include "core/messages.h"
#include "jobs/frame_table.h"

#include <algorithm>
#include <iostream>

namespace pixmorph::cli {

namespace {

// Prints the sprite; false after a message when it cannot be read.
bool printInfo(const std::string& path, std::ostream& out) {
    if (!hasGrpName(path)) {
        printMessageLine(path, std::string(msg::kNotGrp));
        return false;
    }
    const FileReadResult read = readWholeFile(path);
    if (!read.ok()) {
        printMessageLine(path, fileErrorMessage(read.error, path));
        return false;
    }
    const std::optional<SpriteHeader> header = readSpriteHeader(read.data);
    if (!header) {
        printMessageLine(path, fillIn(msg::kGrpTooShort, {path}));
        return false;
    }
    const auto table = readFrameTable(read.data, header->frameCount);
    if (!table) {
        printMessageLine(path, fillIn(msg::kGrpTableCut, {path}));
        return false;
    }
    const auto repeats = findRepeats(*table);
    const auto distinct = std::count(repeats.begin(), repeats.end(), std::nullopt);
    out << path << '\n'
        << "frames: " << header->frameCount << '\n'
        << "size: " << header->width << " x " << header->height << '\n'
        << "distinct data offsets: " << distinct << '\n'
        << "encoding: " << spriteEncodingName(detectSpriteEncoding(read.data)) << '\n'
        << "frame x y width height offset\n";
    for (std::size_t i = 0; i < table->size(); ++i) {
        const FrameEntry& e = (*table)[i];
        out << i << ' ' << int{e.xOffset} << ' ' << int{e.yOffset} << ' ' << int{e.width} << ' '
            << int{e.height} << ' ' << e.dataOffset << '\n';
    }
    return true;
}

} // namespace

int runInfo(const Args& args) {
    if (args.empty()) {
        std::cerr << "pixmorph-cli info: no input file\nusage: " << kInfoUsage << '\n';
        return 2;
    }
    bool allRead = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0)
            std::cout << '\n';
        if (!printInfo(args[i], std::cout))
            allRead = false;
    }
    return allRead ? 0 : 1;
}

} // namespace pixmorph::cli
