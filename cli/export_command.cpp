#include "cli/job_command.h"
#include "jobs/export_job.h"

namespace pixmorph::cli {

int runExport(const JobOptions& jobOptions) {
    return runJobCommand(
        jobOptions,
        [](JobDelegate& delegate, const std::string& grp, const JobOptions& options,
           const Palette& palette) {
            // A sheet is a PNG unless a bitmap is asked for.
            const PictureFormat format = options.format.value_or(
                options.sheetColumns > 0 ? PictureFormat::png : PictureFormat::bmp);
            return runExportJob(delegate,
                                ExportInput{grp, options.outputDir, palette, format, options.frames,
                                            options.sheetColumns, options.gifFps});
        },
        true);
}

} // namespace pixmorph::cli
