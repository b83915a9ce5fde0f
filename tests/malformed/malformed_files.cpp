#include "malformed_files.h"

#include "core/core_test_files.h"

namespace pixmorph::test {

ByteVector soundSprite() {
    return handLaidSprite(
        16, 8,
        {{1, 1, 3, 2, {{0x43, 7}, {0x01, 9, 0x82}}},
         {2, 3, 6, 3, {{0x82, 0x43, 7, 0x01, 9}, {0x03, 1, 2, 3, 0x83}, {0x86}}}});
}

ByteVector soundBitmap() {
    // Bottom row first; the top row is an absolute run.
    return handLaidBmp(4, 3, 8, 1, {4, 9, 0, 0, 1, 0, 2, 5, 1, 0, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1});
}

std::string jascPalette(const std::string& first, const std::string& second,
                        const std::string& third, const std::vector<std::string>& colours) {
    std::string text = first + "\r\n" + second + "\r\n" + third + "\r\n";
    for (const std::string& line : colours)
        text += line + "\r\n";
    return text;
}

std::vector<std::string> jascColourLines(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(std::to_string(i) + " " + std::to_string(255 - i) + " " +
                        std::to_string(i / 2));
    return lines;
}

} // namespace pixmorph::test
