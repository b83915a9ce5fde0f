#pragma once
// What the export and the compile share: where their files go, how a failure is shown and how
// a finished run leaves its window.

#include "core/file_error.h"
#include "core/paths.h"
#include "jobs/job_view.h"

#include <string>
#include <string_view>

namespace pixmorph {

// A file that could not be read or written: the file-error message naming it, stop icon.
void reportFileError(JobView& view, FileErrorCause cause, const std::string& path);
// Input the job refuses: the message with the exclamation icon.
void refuse(JobView& view, const std::string& text, const std::string& file);

// The end of a run that did all its work: the final status, the clip stopped on its last
// frame standing still, OK enabled.
void showFinished(JobView& view, std::string_view status);

} // namespace pixmorph
