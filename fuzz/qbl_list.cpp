// The QBL reader and the names it hands to the compile: the list's names, the frames the
// "dupe_of_" entries repeat, the path check and the message of a refused list.
#include "core/qbl_list.h"

#include "core/text_rules.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace pixmorph;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)isQblPath(text);
    const QblList list = readQblList(text);
    FUZZ_CHECK(qblReadMessage(list).empty() == (list.status == QblReadStatus::ok));
    if (list.status != QblReadStatus::ok)
        return 0;

    FUZZ_CHECK(list.frames.size() == std::min(list.listedFrames, kMaxKeptListFrames));
    FUZZ_CHECK(!list.grpName.starts_with(kRefusedListPrefix));
    // Every name read can be written again.
    FUZZ_CHECK(listNameFit(list.grpName) == ListNameFit::fits);
    for (const std::string& name : list.frames)
        FUZZ_CHECK(listNameFit(name) == ListNameFit::fits);
    const DupeFrames dupes = resolveDupes(list.frames);
    const std::size_t resolved = dupes.unresolved.value_or(list.frames.size());
    for (std::size_t i = 0; i < resolved; ++i) {
        FUZZ_CHECK(dupes.repeats[i].has_value() == list.frames[i].starts_with(kDupePrefix));
        FUZZ_CHECK(!dupes.repeats[i] || *dupes.repeats[i] < i);
    }

    // What the export writes for these names reads back as the same names.
    std::vector<std::string> lines{list.grpName};
    lines.insert(lines.end(), list.frames.begin(), list.frames.end());
    const QblList again = readQblList(writeQblList(lines));
    FUZZ_CHECK(again.status == QblReadStatus::ok && again.grpName == list.grpName &&
               again.frames == list.frames);
    return 0;
}
