#include "jobs/job_steps.h"

#include "core/file_io.h"
#include "core/grp_compact_writer.h"
#include "core/grp_format.h"

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

std::string outputNameFor(const std::string& grpName) {
    std::string name = "x_" + grpName;
    name.replace(name.size() - 3, 3, "grp");
    return name;
}

JobOutcome writeCompiledSprite(JobDelegate& delegate, const std::string& outputPath,
                               ByteVector sprite, bool compact) {
    // Kept only while it still reads as the run-length form it is (it always should).
    if (compact) {
        ByteVector smaller = compactSprite(sprite);
        if (detectSpriteEncoding(smaller) == SpriteEncoding::runLength)
            sprite = std::move(smaller);
    }
    delegate.fileStarted(outputPath, FileAccess::write);
    if (const FileErrorCause error = writeFileAtomically(outputPath, sprite);
        error != FileErrorCause::none)
        return failOnFile(delegate, error, outputPath);
    return finish(delegate);
}

} // namespace pixmorph
