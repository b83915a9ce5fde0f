#include "cli/job_command.h"
#include "jobs/export_job.h"

namespace pixmorph::cli {

int runExport(const Args& args) {
    static constexpr JobCommand command{"export", kExportUsage, true};
    return runJobCommand(
        command, args,
        [](JobDelegate& delegate, const std::string& grp, const JobOptions& options,
           const Palette& palette) {
            return runExportJob(delegate, ExportInput{grp, options.outputDir, palette});
        });
}

} // namespace pixmorph::cli
