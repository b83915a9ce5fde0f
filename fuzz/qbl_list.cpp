// The QBL reader and the names it hands to the compile: the list's names, the "dupe_of_"
// frame numbers, the path check and the message of a refused list.
#include "core/qbl_list.h"

#include "core/text_rules.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace pixmorph;

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void checkName(const std::string& name) {
    FUZZ_CHECK(!name.empty() && name.size() <= kMaxListNameLength);
    for (const char c : name)
        FUZZ_CHECK(!isBlank(c));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)isQblPath(text);
    const QblList list = readQblList(text);
    FUZZ_CHECK(qblReadMessage(list).empty() == (list.status == QblReadStatus::ok));
    if (list.status != QblReadStatus::ok)
        return 0;

    FUZZ_CHECK(list.frames.size() == std::min(list.listedFrames, kMaxKeptListFrames));
    checkName(list.grpName);
    FUZZ_CHECK(!list.grpName.starts_with(kRefusedListPrefix));
    const std::string listStem = stem(list.grpName);
    for (const std::string& name : list.frames) {
        checkName(name);
        if (name.starts_with(kDupePrefix)) {
            const auto frame = dupeFrameNumber(name, listStem);
            FUZZ_CHECK(!frame || *frame >= 0);
        }
    }

    // What the export writes for these names reads back as the same names.
    std::vector<std::string> lines{list.grpName};
    lines.insert(lines.end(), list.frames.begin(), list.frames.end());
    const QblList again = readQblList(writeQblList(lines));
    FUZZ_CHECK(again.status == QblReadStatus::ok && again.grpName == list.grpName &&
               again.frames == list.frames);
    return 0;
}
