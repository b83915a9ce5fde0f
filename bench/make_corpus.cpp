// Writes the benchmark corpus: make_corpus [--seed N] [--scale K] FOLDER
// One GRP per sprite plan, then a summary line: sprites, frames, frames with their own data,
// bytes.
#include "bench/corpus.h"
#include "core/file_error.h"
#include "core/file_io.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>

using namespace pixmorph;

namespace {

int usage() {
    std::cerr << "usage: make_corpus [--seed N] [--scale K] FOLDER\n";
    return 2;
}

// Frames with a data offset of their own, as the export's Unique mode counts them.
std::size_t ownDataFrames(Bytes file) {
    const auto header = readSpriteHeader(file);
    std::set<std::uint32_t> offsets;
    for (std::size_t i = 0; header && i < header->frameCount; ++i)
        if (const auto entry = readFrameEntry(file, i))
            offsets.insert(entry->dataOffset);
    return offsets.size();
}

} // namespace

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    int scale = 1;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--seed" || arg == "--scale") && i + 1 < argc) {
            const unsigned long long value = std::strtoull(argv[++i], nullptr, 10);
            if (arg == "--seed")
                seed = value;
            else
                scale = static_cast<int>(value);
        } else if (folder.empty() && !arg.starts_with("--")) {
            folder = arg;
        } else {
            return usage();
        }
    }
    if (folder.empty() || scale < 1 || scale > 16)
        return usage();

    std::filesystem::create_directories(folder);
    std::size_t frames = 0, ownData = 0, bytes = 0;
    const auto plans = bench::planCorpus(seed, scale);
    for (const bench::SpritePlan& plan : plans) {
        const bench::BuiltSprite built = bench::buildSprite(plan);
        if (built.error != GrpWriteError::none) {
            std::cerr << plan.name << ": "
                      << grpWriteErrorMessage(built.error,
                                              static_cast<std::size_t>(built.failedFrame))
                      << "\n";
            return 1;
        }
        const ByteVector& file = built.file;
        const std::string path = folder + "/" + plan.name + ".grp";
        if (const FileErrorCause cause = writeFileAtomically(path, file);
            cause != FileErrorCause::none) {
            std::cerr << fileErrorMessage(cause, path) << "\n";
            return 1;
        }
        frames += static_cast<std::size_t>(plan.frameCount);
        ownData += ownDataFrames(file);
        bytes += file.size();
    }
    std::cout << plans.size() << " sprites, " << frames << " frames, " << ownData
              << " with their own data, " << bytes << " bytes\n";
    return 0;
}
