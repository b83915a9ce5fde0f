#pragma once
// What export and compile share on the command line: their options, the --palette file read
// as Load Palette reads it, and one job per input with the exit status of all.

#include "cli/cli.h"
#include "core/grp_format.h"
#include "core/palette.h"
#include "jobs/export_job.h"
#include "jobs/job_delegate.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pixmorph::cli {

struct JobOptions {
    ExportMode mode = ExportMode::all;
    SpriteEncoding encoding = SpriteEncoding::runLength;
    bool compact = false;
    std::optional<PictureFormat> format; // export --format
    int sheetColumns = 0;                // export --sheet [--columns N]
    int gifFps = 0;                      // export --gif [--fps N]
    std::vector<FrameRange> frames;      // export --frames
    bool partial = false;                // compile --partial
    bool makeOutputDir = false;
    std::optional<std::string> paletteFile;
    std::string outputDir;
    std::vector<std::string> inputs;
};

// The palette named by --palette, or the built-in one; nullopt when it was not read (the
// message has been printed).
std::optional<Palette> readPaletteOption(const std::optional<std::string>& file);
// The same for a palette file named, with the kind it was read as.
std::optional<PaletteFile> readPaletteFileOption(const std::string& file);

using RunJob = std::function<JobOutcome(JobDelegate& delegate, const std::string& input,
                                        const JobOptions& options, const Palette& palette)>;

// 0 when every input finished, 1 when any failed (the others still run). sideBySide: jobs that
// wait in namingFiles() for their turn may run two at a time (see jobs_side_by_side.h).
int runJobCommand(const JobOptions& options, const RunJob& runJob, bool sideBySide = false);

} // namespace pixmorph::cli
