#pragma once
// The ends of a run that the export and the compile share.

#include "core/file_error.h"
#include "core/paths.h"
#include "jobs/job_delegate.h"

#include <string>

namespace pixmorph {

// A file that could not be read or written: the file-error message naming it (stop icon), and
// the run fails.
JobOutcome failOnFile(JobDelegate& delegate, FileErrorCause cause, const std::string& path);
// Input the job refuses: the message with the exclamation icon, and the run fails.
JobOutcome refuse(JobDelegate& delegate, const std::string& text, const std::string& file);
// A frame the job refuses: reported as such, then refused.
JobOutcome refuseFrame(JobDelegate& delegate, std::size_t frame, const std::string& text,
                       const std::string& file);
// A run that did all its work.
JobOutcome finish(JobDelegate& delegate);

} // namespace pixmorph
