// The archive name list and the check that keeps extraction inside the output folder: every
// line of the list is a name the archive might answer to, so every line is checked the way an
// extraction of it would be. The archive's header check reads the same bytes.
#include "archive/extraction.h"
#include "archive/mpq_header_check.h"
#include "archive/name_list.h"
#include "archive/offered_names.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace pixmorph;

namespace {

const std::string kOutput = "out";

// A path that extraction may write: inside the output folder, one level per folder, none of
// them empty, "." or "..".
void checkInsideOutput(std::string_view path) {
    FUZZ_CHECK(path.starts_with(kOutput + "/"));
    std::string_view rest = path.substr(kOutput.size() + 1);
    for (;;) {
        const std::size_t slash = rest.find('/');
        const std::string_view level = rest.substr(0, slash);
        FUZZ_CHECK(!level.empty() && level != "." && level != "..");
        FUZZ_CHECK(level.find('\0') == std::string_view::npos);
        if (slash == std::string_view::npos)
            break;
        rest.remove_prefix(slash + 1);
    }
}

void checkName(const std::string& name) {
    FUZZ_CHECK(name.size() <= kNameLineLimit);
    FUZZ_CHECK(name.find_first_of(std::string_view("\n\r\0", 3)) == std::string::npos);
    (void)isOfferedName(name);
    if (refuseArchiveName(name))
        return;
    for (const NameFormat format : {NameFormat::flat, NameFormat::subdirectories}) {
        const ExtractionTarget target = extractionTarget(kOutput, name, format);
        checkInsideOutput(target.path);
        for (const std::string& directory : target.directories) {
            checkInsideOutput(directory);
            FUZZ_CHECK(target.path.starts_with(directory + "/"));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes contents(data, size);
    const std::vector<std::string> names = parseNameList(contents);
    FUZZ_CHECK(names.size() <= kMaxNameLines + 1);
    for (const std::string& name : names)
        checkName(name);
    (void)mpqHeaderIsSane(contents, size);
    return 0;
}
