#pragma once
// Fields taken one after another from a fuzzer's input; past its end every field reads 0.

#include "core/bytes.h"
#include "core/grp_format.h"

#include <cstddef>
#include <cstdint>

namespace pixmorph::fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}
    unsigned u8() { return readU8(bytes_, at_++).value_or(0); }
    unsigned u16() {
        const unsigned low = u8();
        return low | (u8() << 8);
    }
    // A picture's width or height: 1 to the compile image's side.
    int pictureSide() { return 1 + static_cast<int>(u16() % IndexImage::kSize); }
    // What is left after the fields taken.
    Bytes rest() const { return at_ < bytes_.size() ? bytes_.subspan(at_) : Bytes{}; }

private:
    Bytes bytes_;
    std::size_t at_ = 0;
};

} // namespace pixmorph::fuzz
