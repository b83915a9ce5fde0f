#include "jobs/sheet_json.h"

#include "core/messages.h"
#include "core/sheet_picture.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace pixmorph {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kMostFrames = 65535;
constexpr int kMostPictureSide = 256;

struct Problem {
    std::string text;
};

std::string frameProblem(std::size_t frame, std::string_view what) {
    return fillIn(msg::kSheetFrameProblem, {std::to_string(frame), what});
}

// A whole number from 0 to most; nullopt for anything else, a missing key included.
std::optional<int> wholeNumber(const Json& object, const char* key, int most) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_integer())
        return std::nullopt;
    const auto value = found->get<std::int64_t>();
    if (value < 0 || value > most)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<SheetRect> rect(const Json& frame, const char* key, bool withPosition) {
    const auto found = frame.find(key);
    if (found == frame.end() || !found->is_object())
        return std::nullopt;
    const auto x = withPosition ? wholeNumber(*found, "x", kMaxSheetSide) : 0;
    const auto y = withPosition ? wholeNumber(*found, "y", kMaxSheetSide) : 0;
    const auto w = wholeNumber(*found, "w", kMaxSheetSide);
    const auto h = wholeNumber(*found, "h", kMaxSheetSide);
    if (!x || !y || !w || !h)
        return std::nullopt;
    return SheetRect{*x, *y, *w, *h};
}

std::string readFrame(const Json& entry, std::size_t index, SheetFrame& frame) {
    if (!entry.is_object())
        return frameProblem(index, msg::kSheetNotAnObject);
    const auto sheetRect = rect(entry, "frame", true);
    if (!sheetRect)
        return frameProblem(index, msg::kSheetNoRectangle);
    frame.frame = *sheetRect;
    if (const auto rotated = entry.find("rotated");
        rotated != entry.end() && !(rotated->is_boolean() && !rotated->get<bool>()))
        return frameProblem(index, msg::kSheetRotated);
    // Untrimmed frames need neither: the rectangle is the whole picture.
    frame.placed = entry.contains("spriteSourceSize")
                       ? rect(entry, "spriteSourceSize", true).value_or(SheetRect{-1, -1, -1, -1})
                       : SheetRect{0, 0, sheetRect->w, sheetRect->h};
    const SheetRect source =
        entry.contains("sourceSize")
            ? rect(entry, "sourceSize", false).value_or(SheetRect{0, 0, -1, -1})
            : SheetRect{0, 0, frame.placed.w, frame.placed.h};
    frame.pictureWidth = source.w;
    frame.pictureHeight = source.h;
    const SheetRect& p = frame.placed;
    if (p.w != sheetRect->w || p.h != sheetRect->h || p.x < 0 || p.y < 0)
        return frameProblem(index, msg::kSheetPlacement);
    if (source.w < 1 || source.h < 1 || source.w > kMostPictureSide || source.h > kMostPictureSide)
        return frameProblem(index, msg::kSheetPictureSize);
    if (p.x + p.w > source.w || p.y + p.h > source.h)
        return frameProblem(index, msg::kSheetPlacement);
    if (const auto name = entry.find("filename"); name != entry.end() && name->is_string())
        frame.name = name->get<std::string>();
    return {};
}

std::string readOurs(const Json& ours, SheetLayout& layout) {
    if (!ours.is_object())
        return std::string(msg::kSheetOursBroken);
    if (const auto sprite = ours.find("sprite"); sprite != ours.end()) {
        if (!sprite->is_string())
            return std::string(msg::kSheetOursBroken);
        layout.sprite = sprite->get<std::string>();
    }
    if (const auto count = ours.find("frameCount"); count != ours.end()) {
        const auto value = wholeNumber(ours, "frameCount", static_cast<int>(kMostFrames));
        if (!value || static_cast<std::size_t>(*value) < layout.frames.size())
            return std::string(msg::kSheetOursBroken);
        if (static_cast<std::size_t>(*value) > layout.frames.size())
            layout.fullFrameCount = static_cast<std::size_t>(*value);
    }
    if (const auto repeats = ours.find("repeats"); repeats != ours.end()) {
        if (!repeats->is_array() || repeats->size() != layout.frames.size())
            return std::string(msg::kSheetOursBroken);
        for (std::size_t i = 0; i < repeats->size(); ++i) {
            const Json& value = (*repeats)[i];
            if (value.is_null()) {
                layout.repeats.emplace_back();
                continue;
            }
            if (!value.is_number_unsigned() || value.get<std::uint64_t>() >= i)
                return std::string(msg::kSheetOursBroken);
            layout.repeats.emplace_back(value.get<std::size_t>());
        }
    }
    return {};
}

std::string readLayout(const Json& document, SheetLayout& layout) {
    if (!document.is_object())
        return std::string(msg::kSheetNoFrames);
    const auto frames = document.find("frames");
    const auto meta = document.find("meta");
    if (frames == document.end() || !(frames->is_array() || frames->is_object()))
        return std::string(msg::kSheetNoFrames);
    if (meta == document.end() || !meta->is_object() || !meta->contains("image") ||
        !(*meta)["image"].is_string())
        return std::string(msg::kSheetNoImage);
    layout.image = (*meta)["image"].get<std::string>();
    if (frames->size() > kMostFrames)
        return fillIn(msg::kSheetTooManyFrames, std::to_string(frames->size()));
    // The hash form keys each frame by its file name, in the order written.
    for (auto item = frames->begin(); item != frames->end(); ++item) {
        SheetFrame frame;
        if (std::string problem = readFrame(item.value(), layout.frames.size(), frame);
            !problem.empty())
            return problem;
        if (frames->is_object())
            frame.name = item.key();
        layout.frames.push_back(std::move(frame));
    }
    if (const auto size = rect(*meta, "size", false)) {
        layout.width = size->w;
        layout.height = size->h;
    }
    if (const auto ours = meta->find(kSheetMetaKey); ours != meta->end())
        return readOurs(*ours, layout);
    return {};
}

Json rectJson(const SheetRect& r, bool withPosition) {
    Json json;
    if (withPosition) {
        json["x"] = r.x;
        json["y"] = r.y;
    }
    json["w"] = r.w;
    json["h"] = r.h;
    return json;
}

} // namespace

SheetJsonRead readSheetJson(std::string_view text) {
    SheetJsonRead read;
    const Json document = Json::parse(text.begin(), text.end(), nullptr, false);
    if (document.is_discarded()) {
        read.problem = std::string(msg::kSheetNotJson);
        return read;
    }
    read.problem = readLayout(document, read.layout);
    return read;
}

std::string writeSheetJson(const SheetLayout& layout, int durationMs) {
    Json frames = Json::array();
    for (const SheetFrame& frame : layout.frames) {
        Json entry;
        entry["filename"] = frame.name;
        entry["frame"] = rectJson(frame.frame, true);
        entry["rotated"] = false;
        entry["trimmed"] = false;
        entry["spriteSourceSize"] = rectJson(frame.placed, true);
        entry["sourceSize"] = rectJson({0, 0, frame.pictureWidth, frame.pictureHeight}, false);
        entry["duration"] = durationMs;
        frames.push_back(std::move(entry));
    }
    Json ours;
    ours["sprite"] = layout.sprite;
    ours["frameCount"] = layout.fullFrameCount.value_or(layout.frames.size());
    if (!layout.repeats.empty()) {
        Json repeats = Json::array();
        for (const auto& original : layout.repeats)
            repeats.push_back(original ? Json(*original) : Json(nullptr));
        ours["repeats"] = std::move(repeats);
    }
    Json meta;
    meta["app"] = msg::kAppName;
    meta["version"] = msg::kVersion;
    meta["image"] = layout.image;
    meta["format"] = "I8";
    meta["size"] = rectJson({0, 0, layout.width, layout.height}, false);
    meta["scale"] = "1";
    meta[std::string(kSheetMetaKey)] = std::move(ours);
    Json document;
    document["frames"] = std::move(frames);
    document["meta"] = std::move(meta);
    return document.dump(1) + "\n";
}

bool isSheetJsonPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.size() - dot != 5)
        return false;
    return std::equal(
        path.begin() + static_cast<std::ptrdiff_t>(dot), path.end(), ".json",
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

} // namespace pixmorph
