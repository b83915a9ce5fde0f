#include "core/frame_ranges.h"

#include <algorithm>
#include <charconv>

namespace pixmorph {
namespace {

// No sprite has a billion frames; the bound keeps every number far from overflow.
constexpr std::size_t kMostDigits = 9;

std::optional<std::size_t> number(std::string_view text) {
    std::size_t value = 0;
    if (text.empty() || text.size() > kMostDigits ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

std::optional<std::vector<FrameRange>> parseFrameRanges(std::string_view text) {
    std::vector<FrameRange> ranges;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        const auto first = number(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : number(item.substr(dash + 1));
        if (!first || !last || *last < *first)
            return std::nullopt;
        ranges.push_back({*first, *last});
        if (comma == std::string_view::npos)
            return ranges;
        text.remove_prefix(comma + 1);
    }
}

std::optional<std::vector<std::size_t>> selectFrames(const std::vector<FrameRange>& ranges,
                                                     std::size_t frameCount) {
    std::vector<bool> chosen(frameCount);
    for (const FrameRange& range : ranges) {
        if (range.last >= frameCount)
            return std::nullopt;
        std::fill(chosen.begin() + static_cast<std::ptrdiff_t>(range.first),
                  chosen.begin() + static_cast<std::ptrdiff_t>(range.last) + 1, true);
    }
    std::vector<std::size_t> frames;
    for (std::size_t i = 0; i < frameCount; ++i)
        if (chosen[i])
            frames.push_back(i);
    return frames;
}

std::string partialNote(std::size_t fullFrameCount) {
    return std::string(kPartialPrefix) + std::to_string(fullFrameCount);
}

std::optional<std::size_t> takePartialNote(QblList& list) {
    if (list.frames.empty() || list.frames.size() != list.listedFrames ||
        !list.frames.back().starts_with(kPartialPrefix))
        return std::nullopt;
    const auto count = number(std::string_view(list.frames.back()).substr(kPartialPrefix.size()));
    if (!count)
        return std::nullopt;
    list.frames.pop_back();
    --list.listedFrames;
    return count;
}

} // namespace pixmorph
