#include "cli/job_command.h"
#include "jobs/export_job.h"

namespace pixmorph::cli {

int runExport(const Args& args) {
    static constexpr JobCommand command{"export", kExportUsage, true, false, false, true};
    return runJobCommand(
        command, args,
        [](JobDelegate& delegate, const std::string& grp, const JobOptions& options,
           const Palette& palette) {
            // A sheet is a PNG unless a bitmap is asked for.
            const PictureFormat format = options.format.value_or(
                options.sheetColumns > 0 ? PictureFormat::png : PictureFormat::bmp);
            return runExportJob(delegate,
                                ExportInput{grp, options.outputDir, palette, format, options.frames,
                                            options.sheetColumns, options.gifFps});
        });
}

} // namespace pixmorph::cli
