#pragma once
// The Load Palette command, also run once at start-up for the stored palette.

namespace pixmorph {

struct ConverterState;
struct FrameWindow;
class PickerOps;

void loadPalette(ConverterState& state, const FrameWindow& window, PickerOps& pickers);

} // namespace pixmorph
