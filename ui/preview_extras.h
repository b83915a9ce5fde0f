#pragma once
// What the main window offers beside its template: playing the frames (P, or Play / Pause in
// the context menu) and the large preview (double-click on the preview, or its menu item).

#include "app/playback.h"
#include "ui/large_preview_window.h"

#include <QPointer>
#include <QTimer>

class QAction;
class QMenu;

namespace pixmorph {
struct ConverterState;
class MainWindowLogic;
class WindowOps;
} // namespace pixmorph

namespace pixmorph::ui {


class QtPlaybackTimer : public PlaybackTimer {
public:
    QTimer timer;
    void start(int intervalMs) override { timer.start(intervalMs); }
    void stop() override { timer.stop(); }
};

class PreviewExtras {
public:
    PreviewExtras(ConverterState& state, WindowOps& window, MainWindowLogic& logic, QWidget& owner);

    // Around every command the window routes to the logic.
    void beforeCommand(int id);
    void afterCommand();
    // Adds Play / Pause and Large Preview to the window's context menu; true when the chosen
    // action was one of them (and has been done).
    void addMenuItems(QMenu& menu);
    bool handleMenuChoice(QAction* chosen);

    void togglePlayback();
    void openLargePreview();
    const Playback& playback() const { return playback_; }
    LargePreviewWindow* largePreview() const { return large_; }

private:
    ConverterState& state_;
    MainWindowLogic& logic_;
    QWidget& owner_;
    QtPlaybackTimer timer_;
    Playback playback_;
    QPointer<LargePreviewWindow> large_;
    QAction* playItem_ = nullptr;
    QAction* largeItem_ = nullptr;
};

inline constexpr const char* kPlayItemText = "&Play";
inline constexpr const char* kPauseItemText = "&Pause";
inline constexpr const char* kLargePreviewItemText = "&Large Preview";

} // namespace pixmorph::ui
