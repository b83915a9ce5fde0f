#include "archive/name_list.h"

namespace pixmorph {

namespace {

constexpr std::uint8_t kLineFeed = 10;
constexpr std::uint8_t kCarriageReturn = 13;

} // namespace

std::vector<std::string> parseNameList(Bytes contents) {
    std::vector<std::string> names;
    std::string line;
    bool usable = true;
    for (const std::uint8_t byte : contents) {
        if (byte == kLineFeed) {
            if (usable && line.size() <= kNameLineLimit)
                names.push_back(line);
            if (names.size() > kMaxNameLines)
                break;
            line.clear();
            usable = true;
        } else if (byte == 0) {
            usable = false;
        } else if (byte != kCarriageReturn && line.size() <= kNameLineLimit) {
            line.push_back(static_cast<char>(byte));
        }
    }
    return names;
}

} // namespace pixmorph
