// Replays inputs through a fuzz target without libFuzzer: every file named, and every file of
// every folder named, in name order. A folder with no inputs is an error, so a corpus that
// went missing cannot pass as a clean replay.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool replayFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    // A copy of exactly the input's length, so reads one past the end are caught.
    std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
    std::uint8_t* data = input.empty() ? nullptr : input.data();
    LLVMFuzzerTestOneInput(data, input.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path named(argv[i]);
        std::vector<std::filesystem::path> files;
        std::error_code error;
        if (std::filesystem::is_directory(named, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(named, error))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            if (files.empty()) {
                std::fprintf(stderr, "no inputs in %s\n", named.c_str());
                return 1;
            }
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(named);
        }
        for (const auto& file : files) {
            if (!replayFile(file))
                return 1;
            ++replayed;
        }
    }
    std::printf("replayed %zu inputs\n", replayed);
    return 0;
}
