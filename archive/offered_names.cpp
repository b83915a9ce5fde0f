#include "archive/offered_names.h"

#include "core/text_rules.h"

#include <algorithm>

namespace pixmorph {

bool isOfferedName(std::string_view name) {
    return endsWithIgnoringCase(name, "grp");
}

bool comesBeforeInList(std::string_view left, std::string_view right) {
    const auto folded = [](char a, char b) {
        return static_cast<unsigned char>(lowerAscii(a)) <
               static_cast<unsigned char>(lowerAscii(b));
    };
    if (std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(), folded))
        return true;
    if (std::lexicographical_compare(right.begin(), right.end(), left.begin(), left.end(), folded))
        return false;
    return left < right;
}

std::vector<std::string> offeredNames(const std::vector<ArchiveFileRecord>& found) {
    std::vector<std::string> names;
    for (const auto& record : found) {
        if (isOfferedName(record.name))
            names.push_back(record.name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return comesBeforeInList(a, b); });
    return names;
}

} // namespace pixmorph
