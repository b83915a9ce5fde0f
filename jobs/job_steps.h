#pragma once
// The ends of a run that the export and the compile share.

#include "core/bytes.h"
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

// "x_" + the sprite's name, its last three characters made "grp": the compile's output.
std::string outputNameFor(const std::string& grpName);
// The compile's last step: the sprite, made compact when asked, written whole or not at all,
// and the run finished.
JobOutcome writeCompiledSprite(JobDelegate& delegate, const std::string& outputPath,
                               ByteVector sprite, bool compact = false);

} // namespace pixmorph
