#include "jobs/job_steps.h"

namespace pixmorph {

JobOutcome failOnFile(JobDelegate& delegate, FileErrorCause cause, const std::string& path) {
    delegate.message(fileErrorMessage(cause, path), MessageIcon::stop, path);
    delegate.failed();
    return JobOutcome::failed;
}

JobOutcome refuse(JobDelegate& delegate, const std::string& text, const std::string& file) {
    delegate.message(text, MessageIcon::exclamation, file);
    delegate.failed();
    return JobOutcome::failed;
}

JobOutcome refuseFrame(JobDelegate& delegate, std::size_t frame, const std::string& text,
                       const std::string& file) {
    delegate.frameRefused(frame);
    return refuse(delegate, text, file);
}

JobOutcome finish(JobDelegate& delegate) {
    delegate.finished();
    return JobOutcome::finished;
}

} // namespace pixmorph
