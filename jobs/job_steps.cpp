#include "jobs/job_steps.h"

#include "core/file_io.h"

namespace pixmorph {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || name.starts_with('/'))
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + '/' + name;
}

std::string outputNameFor(const std::string& grpName) {
    std::string name = "x_" + grpName;
    name.replace(name.size() - 3, 3, "grp");
    return name;
}

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

JobOutcome writeCompiledSprite(JobView& view, const std::string& outputPath,
                               const ByteVector& sprite) {
    if (const FileErrorCause error = writeFileAtomically(outputPath, sprite);
        error != FileErrorCause::none) {
        reportFileError(view, error, outputPath);
        return JobOutcome::failed;
    }
    view.setProgressPosition(0);
    view.repaintNow();
    showFinished(view, msg::kCompileFinished);
    return JobOutcome::finished;
}

} // namespace pixmorph
