#pragma once
// Loading the GRP named in the window and drawing its current frame.

namespace pixmorph {

struct ConverterState;
struct FrameWindow;

enum class FrameRequest {
    command,    // a command asked: a file that cannot be read is reported
    firstPaint, // the start-up load: nothing is reported
};

// Re-reads the file named by grpNameText, decodes currentFrame into the canvas, draws it into
// the preview box and fills the frame fields; frameCount is set when frame 0 is shown.
void showFrame(ConverterState& state, const FrameWindow& window,
               FrameRequest request = FrameRequest::command);

} // namespace pixmorph
