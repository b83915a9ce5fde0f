#include "jobs/job_steps.h"

namespace pixmorph {

void reportFileError(JobView& view, FileErrorCause cause, const std::string& path) {
    view.showMessage(fileErrorMessage(cause, path), MessageIcon::stop, path);
}

void refuse(JobView& view, const std::string& text, const std::string& file) {
    view.showMessage(text, MessageIcon::exclamation, file);
}

void showFinished(JobView& view, std::string_view status) {
    view.setStatus(std::string(status));
    view.stopClip();
    view.playClip(kClipLastFrame, kClipLastFrame, 0);
    view.enableOk();
}

} // namespace pixmorph
