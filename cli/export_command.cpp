#include "cli/job_command.h"
#include "jobs/export_job.h"

namespace pixmorph::cli {

int runExport(const Args& args) {
    static constexpr JobCommand command{"export", kExportUsage, true, true};
    return runJobCommand(command, args,
                         [](JobView& view, const std::string& grp, const JobOptions& options,
                            const Palette& palette) {
                             return RunExport(view, ExportInput{grp, options.outputDir, palette,
                                                                options.format, options.frames});
                         });
}

} // namespace pixmorph::cli
