#include "jobs/frame_table.h"

#include <unordered_map>

namespace pixmorph {

std::optional<std::vector<FrameEntry>> readFrameTable(Bytes file, std::size_t frameCount) {
    std::vector<FrameEntry> table;
    table.reserve(frameCount);
    for (std::size_t i = 0; i < frameCount; ++i) {
        const auto entry = readFrameEntry(file, i);
        if (!entry)
            return std::nullopt;
        table.push_back(*entry);
    }
    return table;
}

std::vector<std::optional<std::size_t>> findRepeats(const std::vector<FrameEntry>& table) {
    std::unordered_map<std::uint32_t, std::size_t> firstWithOffset;
    std::vector<std::optional<std::size_t>> repeats(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto [first, inserted] = firstWithOffset.try_emplace(table[i].dataOffset, i);
        if (!inserted)
            repeats[i] = first->second;
    }
    return repeats;
}

} // namespace pixmorph
