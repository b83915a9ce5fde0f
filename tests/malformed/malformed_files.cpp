#include "malformed_files.h"

namespace pixmorph::test {

ByteVector laidSprite(std::uint16_t width, std::uint16_t height,
                      const std::vector<LaidFrame>& frames) {
    ByteVector file;
    appendU16(file, static_cast<std::uint16_t>(frames.size()));
    appendU16(file, width);
    appendU16(file, height);
    const std::size_t table = file.size();
    file.resize(table + 8 * frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const LaidFrame& frame = frames[i];
        const std::size_t entry = table + 8 * i;
        file[entry] = frame.x;
        file[entry + 1] = frame.y;
        file[entry + 2] = frame.width;
        file[entry + 3] = frame.height;
        putU32(file, entry + 4, static_cast<std::uint32_t>(file.size()));
        std::size_t rowOffset = 2 * frame.rows.size();
        for (const ByteVector& row : frame.rows) {
            appendU16(file, static_cast<std::uint16_t>(rowOffset));
            rowOffset += row.size();
        }
        for (const ByteVector& row : frame.rows)
            file.insert(file.end(), row.begin(), row.end());
    }
    return file;
}

ByteVector soundSprite() {
    return laidSprite(16, 8,
                      {{1, 1, 3, 2, {{0x43, 7}, {0x01, 9, 0x82}}},
                       {2, 3, 6, 3, {{0x82, 0x43, 7, 0x01, 9}, {0x03, 1, 2, 3, 0x83}, {0x86}}}});
}

ByteVector laidBitmap(std::int32_t width, std::int32_t height, int bitCount,
                      std::uint32_t compression, const ByteVector& data, std::uint32_t dataOffset) {
    ByteVector file{'B', 'M'};
    appendU32(file, static_cast<std::uint32_t>(54 + data.size()));
    appendU32(file, 0);
    appendU32(file, dataOffset);
    appendU32(file, 40);
    appendU32(file, static_cast<std::uint32_t>(width));
    appendU32(file, static_cast<std::uint32_t>(height));
    appendU16(file, 1);
    appendU16(file, static_cast<std::uint16_t>(bitCount));
    appendU32(file, compression);
    appendU32(file, static_cast<std::uint32_t>(data.size()));
    for (int i = 0; i < 4; ++i)
        appendU32(file, 0);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

ByteVector soundBitmap() {
    // Bottom row first.
    return laidBitmap(4, 3, 8, 1, {4, 9, 0, 0, 1, 0, 2, 5, 1, 0, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1});
}

std::string jascPalette(const std::string& first, const std::string& second,
                        const std::string& third, const std::vector<std::string>& colours) {
    std::string text = first + "\r\n" + second + "\r\n" + third + "\r\n";
    for (const std::string& line : colours)
        text += line + "\r\n";
    return text;
}

std::string jascColourLine(int i) {
    return std::to_string(i) + " " + std::to_string(255 - i) + " " + std::to_string(i / 2);
}

} // namespace pixmorph::test
