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
    // The whole entry, not the data offset alone: the compile gives a repeat its original's
    // entry, so a frame that shares data but stands elsewhere or is cut to another box keeps
    // a bitmap of its own, or its place would be lost on the way back.
    std::unordered_map<std::uint64_t, std::size_t> firstWithEntry;
    std::vector<std::optional<std::size_t>> repeats(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto [first, inserted] = firstWithEntry.try_emplace(frameEntryKey(table[i]), i);
        if (!inserted)
            repeats[i] = first->second;
    }
    return repeats;
}

} // namespace pixmorph
