#pragma once
// What the export and the compile share: where their files go, how a failure is shown and how
// a finished run leaves its window.

#include "core/bytes.h"
#include "core/file_error.h"
#include "jobs/job_view.h"

#include <string>
#include <string_view>

namespace pixmorph {

// The folder part of a path ("" for a bare name, which then resolves against the current
// directory like the path itself).
std::string folderOf(const std::string& path);
// name inside folder; name itself when folder is empty or name is absolute.
std::string joinPath(const std::string& folder, const std::string& name);

// "x_" + the sprite's name, its last three characters made "grp": the compile's output.
std::string outputNameFor(const std::string& grpName);

// A file that could not be read or written: the file-error message naming it, stop icon.
void reportFileError(JobView& view, FileErrorCause cause, const std::string& path);
// Input the job refuses: the message with the exclamation icon.
void refuse(JobView& view, const std::string& text, const std::string& file);

// The compile's last step: the sprite written whole or not at all, then the finished window.
JobOutcome writeCompiledSprite(JobView& view, const std::string& outputPath,
                               const ByteVector& sprite);

// The end of a run that did all its work: the final status, the clip stopped on its last
// frame standing still, OK enabled.
void showFinished(JobView& view, std::string_view status);

} // namespace pixmorph
