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

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::size_t before = files.size();
        std::error_code error;
        if (!fs::is_directory(argv[i], error))
            files.emplace_back(argv[i]);
        for (const auto& entry : fs::directory_iterator(argv[i], error))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        if (files.size() == before) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        std::sort(files.begin() + static_cast<std::ptrdiff_t>(before), files.end());
    }
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        // A copy of exactly the input's length, so reads one past the end are caught.
        const std::vector<std::uint8_t> input((std::istreambuf_iterator<char>(in)),
                                              std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
    }
    std::printf("replayed %zu inputs\n", files.size());
    return 0;
}
