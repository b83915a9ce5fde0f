#pragma once
// The Load Palette command, also run once at start-up for the stored palette.

namespace pixmorph {

struct ConverterState;
class WindowOps;

void loadPalette(ConverterState& state, WindowOps& window);

} // namespace pixmorph
