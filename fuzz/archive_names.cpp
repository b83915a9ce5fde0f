// The archive name list and the check that keeps extraction inside the output folder: every
// line of the list is a name the archive might answer to, so every line is checked the way an
// extraction of it would be. Whatever the list holds, a name accepted for saving lands inside
// the output folder in both formats, with an output folder given or not. The archive's header
// check reads the same bytes.
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

// Every level of a relative path is a plain name: not empty, not "." or "..", no ':' or NUL.
void checkPlainLevels(std::string_view rest) {
    FUZZ_CHECK(!rest.empty());
    for (;;) {
        const std::size_t slash = rest.find('/');
        const std::string_view level = rest.substr(0, slash);
        FUZZ_CHECK(!level.empty() && level != "." && level != "..");
        FUZZ_CHECK(level.find_first_of(std::string_view(":\0", 2)) == std::string_view::npos);
        if (slash == std::string_view::npos)
            return;
        rest.remove_prefix(slash + 1);
    }
}

// The target's file and its folders are inside the output folder ("" for the current one).
void checkInside(const std::string& output, const ExtractionTarget& target) {
    const std::string prefix = output.empty() ? "" : output + "/";
    FUZZ_CHECK(target.path == prefix + target.name);
    checkPlainLevels(target.name);
}

void checkName(const std::string& name) {
    FUZZ_CHECK(name.size() <= kNameLineLimit);
    FUZZ_CHECK(name.find_first_of(std::string_view("\n\r\0", 3)) == std::string::npos);
    (void)isOfferedName(name);
    if (refuseArchiveName(name))
        return;
    for (const NameFormat format : {NameFormat::flat, NameFormat::subdirectories})
        for (const std::string output : {"/out", "out", ""})
            checkInside(output, extractionTarget(output, name, format));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes contents(data, size);
    const std::vector<std::string> names = parseNameList(contents);
    FUZZ_CHECK(names.size() <= kMaxNameLines + 1);
    for (const std::string& name : names)
        checkName(name);
    if (const auto at = findMpqHeader(contents))
        (void)mpqHeaderIsSane(contents.subspan(*at), *at, size);
    return 0;
}
