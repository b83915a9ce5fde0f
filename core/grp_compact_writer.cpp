// Decodes each frame of a finished sprite, encodes its rows again as short as they go, shares
// what repeats and lays the data out so that every row offset reaches.
#include "core/grp_compact_writer.h"

#include "core/grp_format.h"
#include "core/grp_row_decoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pixmorph {

namespace {

constexpr int kMaxSkip = 127;
constexpr int kMaxRun = 63;
constexpr std::size_t kMaxRowOffset = std::numeric_limits<std::uint16_t>::max();
constexpr std::int16_t kSkipped = -1;

// A frame's box as decoded: per cell its value, or kSkipped; a run past the box refuses it.
class FrameCells {
public:
    FrameCells(int width, int height)
        : width_(width), cells_(static_cast<std::size_t>(width) * height, kSkipped) {}
    void storeRepeat(int column, int row, std::uint8_t value, int count) {
        if (column + count > width_)
            passedBox_ = true;
        else
            std::fill_n(at(column, row), count, value);
    }
    void storeLiteral(int column, int row, const std::uint8_t* values, int count) {
        if (column + count > width_)
            passedBox_ = true;
        else
            std::copy_n(values, count, at(column, row));
    }
    bool passedBox() const { return passedBox_; }
    const std::int16_t* row(int row) const { return cells_.data() + row * width_; }
    bool rowSkipped(int row) const {
        return std::all_of(this->row(row), this->row(row) + width_,
                           [](std::int16_t cell) { return cell == kSkipped; });
    }

private:
    std::int16_t* at(int column, int row) { return cells_.data() + row * width_ + column; }

    int width_;
    std::vector<std::int16_t> cells_;
    bool passedBox_ = false;
};

// Appends the shortest opcode sequence that stores the row's cells and skips its skipped ones.
// Found right to left: cost[x] is the fewest bytes for cells x onwards, which never grows
// with x. So the longest repeat is the best one, and a literal from x ending before cell y
// costs 1 - x + (y + cost[y]): the least of y + cost[y] over the cells a literal from x can
// reach, kept as x moves left. Ties take the shortest literal and leave it only for a shorter
// repeat, so equal rows always give equal bytes.
void appendShortestRow(const std::int16_t* cells, int width, ByteVector& out) {
    constexpr int kMost = 256;
    std::array<int, kMost + 1> cost{};
    std::array<std::uint8_t, kMost> opcode{}; // the first opcode written for cells x onwards
    std::array<int, kMost + 1> sameEnd{};     // end of the run of equal cells from x
    sameEnd[width] = width;
    // The literal ends worth keeping, nearest first, their y + cost[y] falling towards the
    // back: ends[front] to ends[back - 1]. Each cell is put in once, at the front.
    std::array<int, kMost + 1> ends{};
    int front = kMost + 1, back = front;
    const auto value = [&cost](int y) { return y + cost[y]; };
    for (int x = width - 1; x >= 0; --x) {
        const bool last = x + 1 == width;
        sameEnd[x] = !last && cells[x + 1] == cells[x] ? sameEnd[x + 1] : x + 1;
        if (cells[x] == kSkipped) {
            const int count = std::min(sameEnd[x] - x, kMaxSkip);
            cost[x] = 1 + cost[x + count];
            opcode[x] = static_cast<std::uint8_t>(0x80 + count);
            continue;
        }
        // A literal stops before a skipped cell and after 63.
        if (last || cells[x + 1] == kSkipped)
            back = front;
        while (front < back && value(ends[front]) >= value(x + 1))
            ++front;
        ends[--front] = x + 1;
        while (ends[back - 1] > x + kMaxRun)
            --back;
        const int literalEnd = ends[back - 1];
        cost[x] = 1 + value(literalEnd) - x;
        opcode[x] = static_cast<std::uint8_t>(literalEnd - x);
        const int repeat = std::min(sameEnd[x] - x, kMaxRun);
        if (2 + cost[x + repeat] < cost[x]) {
            cost[x] = 2 + cost[x + repeat];
            opcode[x] = static_cast<std::uint8_t>(0x40 + repeat);
        }
    }
    for (int x = 0; x < width;) {
        const std::uint8_t c = opcode[x];
        out.push_back(c);
        if (c & 0x80) {
            x += c & 0x7F;
        } else if (c & 0x40) {
            out.push_back(static_cast<std::uint8_t>(cells[x]));
            x += c & 0x3F;
        } else {
            for (int i = 0; i < c; ++i)
                out.push_back(static_cast<std::uint8_t>(cells[x + i]));
            x += c;
        }
    }
}

// One frame's own data: its box (without data offset) and its rows, as row numbers.
struct Block {
    FrameEntry box;
    std::vector<std::uint32_t> rows;
};

// The distinct row streams and data blocks of the sprite.
class SharedParts {
public:
    std::uint32_t rowId(const ByteVector& bytes) {
        const auto [found, added] = rowIds_.try_emplace(std::string(bytes.begin(), bytes.end()),
                                                        static_cast<std::uint32_t>(rows_.size()));
        if (added)
            rows_.push_back(&found->first);
        return found->second;
    }
    std::uint32_t blockId(Block block) {
        std::string key{static_cast<char>(block.box.xOffset), static_cast<char>(block.box.yOffset),
                        static_cast<char>(block.box.width), static_cast<char>(block.box.height)};
        key.append(reinterpret_cast<const char*>(block.rows.data()),
                   block.rows.size() * sizeof(std::uint32_t));
        const auto [found, added] =
            blockIds_.try_emplace(std::move(key), static_cast<std::uint32_t>(blocks_.size()));
        if (added)
            blocks_.push_back(std::move(block));
        return found->second;
    }
    const std::string& row(std::uint32_t id) const { return *rows_[id]; }
    std::size_t rowCount() const { return rows_.size(); }
    const std::vector<Block>& blocks() const { return blocks_; }

private:
    std::unordered_map<std::string, std::uint32_t> rowIds_;
    std::vector<const std::string*> rows_; // the map's keys, which stay where they are
    std::unordered_map<std::string, std::uint32_t> blockIds_;
    std::vector<Block> blocks_;
};

// The frame's block, its last rows left out while they draw nothing (one row stays).
std::optional<Block> readBlock(Bytes sprite, const FrameEntry& entry, SharedParts& parts) {
    if (entry.width == 0 || entry.height == 0)
        return std::nullopt;
    FrameCells cells(entry.width, entry.height);
    if (decodeFrameRowsInto(sprite, entry, cells) != DecodeStatus::complete || cells.passedBox())
        return std::nullopt;
    int height = entry.height;
    while (height > 1 && cells.rowSkipped(height - 1))
        --height;
    Block block{entry, {}};
    block.box.height = static_cast<std::uint8_t>(height);
    block.box.dataOffset = 0;
    ByteVector bytes;
    for (int row = 0; row < height; ++row) {
        bytes.clear();
        appendShortestRow(cells.row(row), entry.width, bytes);
        block.rows.push_back(parts.rowId(bytes));
    }
    return block;
}

// Lays out the blocks in order, in groups: each group's row offset tables, then the rows its
// frames use, each once. A group ends before a block whose rows would start beyond what a row
// offset reaches from the group's first table, so every frame reaches its rows. Within a
// group, a row whose bytes begin another row's is not written: it points there.
class Layout {
public:
    Layout(const SharedParts& parts, ByteVector& out)
        : parts_(parts), out_(out), group_(parts.rowCount(), kNoGroup),
          position_(parts.rowCount()) {}

    // The data offset of every block; nullopt when a block's rows do not reach from its table.
    std::optional<std::vector<std::uint32_t>> place() {
        const std::vector<Block>& blocks = parts_.blocks();
        std::vector<std::uint32_t> offsets(blocks.size());
        for (std::size_t first = 0; first < blocks.size();) {
            const std::size_t end = formGroup(first);
            for (std::size_t b = first; b < end; ++b) {
                offsets[b] = static_cast<std::uint32_t>(out_.size());
                out_.resize(out_.size() + 2 * blocks[b].rows.size());
            }
            placeRows();
            for (std::size_t b = first; b < end; ++b)
                for (std::size_t r = 0; r < blocks[b].rows.size(); ++r) {
                    const std::size_t offset = position_[blocks[b].rows[r]] - offsets[b];
                    if (offset > kMaxRowOffset)
                        return std::nullopt;
                    putU16(out_, offsets[b] + 2 * r, static_cast<std::uint16_t>(offset));
                }
            first = end;
        }
        return offsets;
    }

private:
    static constexpr std::uint32_t kNoGroup = std::numeric_limits<std::uint32_t>::max();

    // The blocks of the next group, from block first: at least that one.
    std::size_t formGroup(std::size_t first) {
        const std::vector<Block>& blocks = parts_.blocks();
        groupRows_.clear();
        std::size_t bytes = 0;
        std::size_t end = first;
        for (; end < blocks.size(); ++end) {
            std::size_t added = 2 * blocks[end].rows.size();
            const std::size_t rowsBefore = groupRows_.size();
            for (const std::uint32_t row : blocks[end].rows)
                if (group_[row] != groupNumber_) {
                    group_[row] = groupNumber_;
                    groupRows_.push_back(row);
                    added += parts_.row(row).size();
                }
            // The group's tables and rows stay within what a row offset reaches from its first
            // table: every row starts before the group's end.
            if (end > first && bytes + added > kMaxRowOffset + 1) {
                for (std::size_t i = rowsBefore; i < groupRows_.size(); ++i)
                    group_[groupRows_[i]] = kNoGroup;
                groupRows_.resize(rowsBefore);
                break;
            }
            bytes += added;
        }
        ++groupNumber_;
        return end;
    }

    // Writes the group's rows in the order of first use, except those whose bytes begin
    // another of its rows. Sorted by their bytes, a row that begins any other row begins the
    // next one.
    void placeRows() {
        std::vector<std::uint32_t> sorted = groupRows_;
        std::sort(sorted.begin(), sorted.end(), [this](std::uint32_t a, std::uint32_t b) {
            return parts_.row(a) < parts_.row(b);
        });
        std::unordered_map<std::uint32_t, std::uint32_t> within; // row -> the row it begins
        for (std::size_t i = sorted.size(); i-- > 1;) {
            const std::string& row = parts_.row(sorted[i - 1]);
            if (parts_.row(sorted[i]).starts_with(row)) {
                const auto further = within.find(sorted[i]);
                within[sorted[i - 1]] = further == within.end() ? sorted[i] : further->second;
            }
        }
        for (const std::uint32_t row : groupRows_)
            if (!within.contains(row)) {
                position_[row] = out_.size();
                out_.insert(out_.end(), parts_.row(row).begin(), parts_.row(row).end());
            }
        for (const auto& [row, longer] : within)
            position_[row] = position_[longer];
    }

    const SharedParts& parts_;
    ByteVector& out_;
    std::vector<std::uint32_t> group_; // per row, the group that uses it last
    std::vector<std::size_t> position_;
    std::vector<std::uint32_t> groupRows_;
    std::uint32_t groupNumber_ = 0;
};

} // namespace

ByteVector compactSprite(Bytes sprite) {
    const auto unchanged = [sprite] { return ByteVector(sprite.begin(), sprite.end()); };
    const std::optional<SpriteHeader> header = readSpriteHeader(sprite);
    if (!header)
        return unchanged();
    SharedParts parts;
    std::vector<std::uint32_t> frameBlocks;
    // Frames that repeat an entry, data offset included, are decoded once.
    std::unordered_map<std::uint64_t, std::uint32_t> decoded;
    for (std::size_t i = 0; i < header->frameCount; ++i) {
        const std::optional<FrameEntry> entry = readFrameEntry(sprite, i);
        if (!entry)
            return unchanged();
        const std::uint64_t key = frameEntryKey(*entry);
        auto found = decoded.find(key);
        if (found == decoded.end()) {
            std::optional<Block> block = readBlock(sprite, *entry, parts);
            if (!block)
                return unchanged();
            found = decoded.emplace(key, parts.blockId(std::move(*block))).first;
        }
        frameBlocks.push_back(found->second);
    }

    ByteVector out(sprite.begin(), sprite.begin() + kSpriteHeaderSize);
    out.resize(kSpriteHeaderSize + frameBlocks.size() * kFrameEntrySize);
    const std::optional<std::vector<std::uint32_t>> offsets = Layout(parts, out).place();
    if (!offsets || out.size() > sprite.size())
        return unchanged();
    for (std::size_t i = 0; i < frameBlocks.size(); ++i) {
        const std::size_t at = kSpriteHeaderSize + i * kFrameEntrySize;
        const FrameEntry& box = parts.blocks()[frameBlocks[i]].box;
        out[at] = box.xOffset;
        out[at + 1] = box.yOffset;
        out[at + 2] = box.width;
        out[at + 3] = box.height;
        putU32(out, at + 4, (*offsets)[frameBlocks[i]]);
    }
    return out;
}

} // namespace pixmorph
