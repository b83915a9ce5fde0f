#pragma once
// What a conversion job needs of the window it runs in. The desktop program implements it with
// a progress window; the command line with stderr; the tests with a recording fake.

#include "core/messages.h"

#include <optional>
#include <string>

namespace pixmorph {

inline constexpr int kCompileClip = 141;
inline constexpr int kExportClip = 148;
inline constexpr int kClipLastFrame = 17;

enum class ExportMode { all = 1, unique = 2 };

class JobView {
public:
    virtual ~JobView() = default;

    // Sets the status text and shows it.
    virtual void setStatus(const std::string& text) = 0;
    // Repaints the window at once, so status and progress stay visible while the job runs.
    virtual void repaintNow() = 0;
    // Opens the clip by resource number and plays it from first to last frame, without end.
    virtual void openClip(int resource) = 0;
    virtual void stopClip() = 0;
    virtual void playClip(int fromFrame, int toFrame, int repeatCount) = 0;
    virtual void setProgressRange(int low, int high) = 0;
    virtual void setProgressStep(int step) = 0;
    virtual void setProgressPosition(int position) = 0;
    virtual void stepProgress() = 0;
    virtual void enableOk() = 0;
    // A message box. `file` names the file the message concerns (for the command line's
    // one-line form); it may be empty.
    virtual void showMessage(const std::string& text, MessageIcon icon,
                             const std::string& file) = 0;
    // The export-choice window; nullopt when it was closed without a choice (Escape).
    virtual std::optional<ExportMode> askExportChoice() = 0;
};

enum class JobOutcome {
    finished,    // status "Finished"/"Finished."
    nothingToDo, // no input (cancelled picker, empty path): nothing written, no message
    aborted,     // the user closed the choice window
    failed,      // a message was shown; nothing partial was left behind
};

} // namespace pixmorph
