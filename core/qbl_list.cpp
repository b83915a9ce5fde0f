#include "core/qbl_list.h"

#include "core/messages.h"
#include "core/text_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <unordered_map>
#include <utility>

namespace pixmorph {
namespace {

bool isDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// Frame numbers far beyond any list length are not frames; the bound keeps the result in range.
std::optional<long> decimal(std::string_view digits) {
    if (!isDigits(digits) || digits.size() > 9)
        return std::nullopt;
    long value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

} // namespace

std::string stem(std::string_view grpFileName) {
    if (const std::size_t separator = grpFileName.find_last_of("\\/");
        separator != std::string_view::npos)
        grpFileName.remove_prefix(separator + 1);
    return std::string(grpFileName.substr(0, grpFileName.rfind('.')));
}

std::string frameTag(long frameIndex) {
    // An export names every frame: the digits are put down directly.
    if (frameIndex >= 0 && frameIndex < 1000) {
        const auto digit = [](long value) { return static_cast<char>('0' + value % 10); };
        return {digit(frameIndex / 100), digit(frameIndex / 10), digit(frameIndex)};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%03ld", frameIndex);
    return text;
}

namespace {

// The blanks that split an unquoted name in a list.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

} // namespace

ListNameFit listNameFit(std::string_view name) {
    if (name.empty() || name.front() == '"')
        return ListNameFit::unreadable;
    // One pass over the name: an export checks every line it writes.
    bool blank = false;
    bool quote = false;
    for (const char c : name) {
        if (c == '\r' || c == '\n')
            return ListNameFit::unreadable;
        blank = blank || isBlank(c);
        quote = quote || c == '"';
    }
    if (blank && quote)
        return ListNameFit::unreadable;
    if (name.size() > kMaxListNameLength)
        return ListNameFit::tooLong;
    return ListNameFit::fits;
}

std::string writeQblList(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) {
        const bool quoted = std::any_of(name.begin(), name.end(), isBlank);
        if (quoted)
            text += '"';
        text += name;
        if (quoted)
            text += '"';
        text += "\r\n";
    }
    return text;
}

QblList readQblList(std::string_view text) {
    QblList list;
    std::vector<std::string> names; // the GRP's name and the frames kept
    std::size_t listed = 0;
    std::optional<std::string_view> firstTooLong;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isAsciiSpace(text[i]))
            ++i;
        if (i == text.size())
            break;
        std::string_view name;
        if (text[i] == '"') {
            const std::size_t start = ++i;
            while (i < text.size() && text[i] != '"' && text[i] != '\r' && text[i] != '\n')
                ++i;
            name = text.substr(start, i - start);
            if (i < text.size() && text[i] == '"')
                ++i;
            if (name.empty())
                continue;
        } else {
            const std::size_t start = i;
            while (i < text.size() && !isAsciiSpace(text[i]))
                ++i;
            name = text.substr(start, i - start);
        }
        if (!firstTooLong && name.size() > kMaxListNameLength)
            firstTooLong = name;
        if (names.size() <= kMaxKeptListFrames)
            names.emplace_back(name);
        ++listed;
    }
    if (names.empty()) {
        list.status = QblReadStatus::empty;
        return list;
    }
    if (names.front().starts_with(kRefusedListPrefix)) {
        list.status = QblReadStatus::unsupportedFormat;
        return list;
    }
    if (firstTooLong) {
        list.status = QblReadStatus::nameTooLong;
        list.offendingName = std::string(*firstTooLong);
        return list;
    }
    list.grpName = std::move(names.front());
    list.frames.assign(std::make_move_iterator(names.begin() + 1),
                       std::make_move_iterator(names.end()));
    list.listedFrames = listed - 1;
    return list;
}

std::string qblReadMessage(const QblList& list) {
    switch (list.status) {
    case QblReadStatus::ok:
        return {};
    case QblReadStatus::unsupportedFormat:
        return std::string(msg::kUnsupportedList);
    case QblReadStatus::empty:
        return std::string(msg::kListEmpty);
    case QblReadStatus::nameTooLong:
        return std::string(msg::kListNameTooLong) + list.offendingName;
    }
    return {};
}

DupeFrames resolveDupes(const std::vector<std::string>& frames) {
    DupeFrames dupes;
    dupes.repeats.resize(frames.size());
    std::unordered_map<std::string_view, std::size_t> firstListed; // bitmap name -> frame
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::string_view name = frames[i];
        if (!name.starts_with(kDupePrefix)) {
            firstListed.try_emplace(name, i);
            continue;
        }
        std::optional<std::size_t> original;
        if (const auto found = firstListed.find(name.substr(kDupePrefix.size()));
            found != firstListed.end())
            original = found->second;
        else if (name.size() >= 7)
            if (const std::optional<long> number = decimal(name.substr(name.size() - 7, 3));
                number && static_cast<std::size_t>(*number) < i)
                original = static_cast<std::size_t>(*number);
        if (!original) {
            dupes.unresolved = i;
            return dupes;
        }
        dupes.repeats[i] = original;
    }
    return dupes;
}

} // namespace pixmorph
