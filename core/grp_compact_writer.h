#pragma once
// The compact form of a sprite our writer made: the same header and frame count, and every
// frame drawn the same, pixel for pixel (a stored pixel stays stored, a stored 0 included, and
// a skipped one stays skipped), in fewer bytes. Modders ship sprites inside archives that
// players download, and the game holds them in memory.
//
// What it saves, and what it keeps:
// - frames with the same box and the same pixels share one data block, whatever the list said;
//   frames at different places keep blocks of their own, since an export takes a shared block
//   for a repeat of the same frame;
// - each row is written by the shortest opcode sequence (skips up to 127, repeats and literals
//   up to 63) instead of the fixed rules; no opcode reaches past the box;
// - identical rows are written once, and a row whose bytes begin another row's points there;
//   every row still starts on its own opcode, only ever at or after its frame's data (the row
//   offsets are 16 bits from there), so the frames are laid out in groups that reach;
// - the transparent row below each frame, which draws nothing, is left out (the box keeps its
//   place and width and loses that row, as in the game's own sprites), and so is the maker tag,
//   which nothing reads.

#include "core/bytes.h"

namespace pixmorph {

// The compact sprite; a sprite it cannot take whole (a frame that does not decode completely,
// a run past its box, a box without width or rows, a frame table past the end) is given back
// as it is.
ByteVector compactSprite(Bytes sprite);

} // namespace pixmorph
