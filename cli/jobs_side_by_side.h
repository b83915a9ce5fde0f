#pragma once
// The command line's jobs two at a time: one job decodes and encodes while the other's files
// are created and named, which is most of a small sprite's time. What they report is held and
// shown job by job in the order of the inputs, and a job names its files only after the jobs
// before it are done, so the run reads and ends as one that runs them one after another.

#include "cli/job_command.h"

namespace pixmorph::cli {

// Runs every input's job as runJobCommand does, on the calling thread and one more where a
// second thread can start; false for the exit status when any input failed.
bool runJobsSideBySide(const JobOptions& options, const Palette& palette, const RunJob& runJob);

} // namespace pixmorph::cli
