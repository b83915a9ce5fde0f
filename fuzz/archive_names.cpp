// The archive name list and the extraction naming: whatever the list holds, a name that is
// accepted for saving lands inside the output directory in both formats.
#include "archive/extraction.h"
#include "archive/name_list.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace pixmorph;

namespace {

// Every level of a relative path is a plain name: not empty, not "." or "..", no ':'.
void checkPlainLevels(std::string_view rest) {
    while (!rest.empty()) {
        const auto end = rest.find('/');
        const std::string_view level = rest.substr(0, end);
        FUZZ_CHECK(!level.empty() && level != "." && level != "..");
        FUZZ_CHECK(level.find(':') == std::string_view::npos);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const std::string& name : parseNameList(Bytes(data, size))) {
        FUZZ_CHECK(name.size() <= kNameLineLimit);
        FUZZ_CHECK(name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        if (refuseArchiveName(name))
            continue;
        for (const auto format : {NameFormat::subdirectories, NameFormat::flat}) {
            const ExtractionTarget target = extractionTarget("/out", name, format);
            FUZZ_CHECK(target.path.starts_with("/out/"));
            checkPlainLevels(std::string_view(target.path).substr(5));
            for (const auto& directory : target.directories) {
                FUZZ_CHECK(target.path.starts_with(directory + "/"));
                checkPlainLevels(std::string_view(directory).substr(5));
            }
            const ExtractionTarget relative = extractionTarget("", name, format);
            FUZZ_CHECK(!relative.path.starts_with("/"));
            checkPlainLevels(relative.path);
        }
    }
    return 0;
}
