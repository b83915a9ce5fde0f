#include "cli/job_command.h"
#include "core/messages.h"
#include "core/qbl_list.h"
#include "jobs/compile_job.h"
#include "jobs/sheet_json.h"

namespace pixmorph::cli {

int runCompile(const Args& args) {
    static constexpr JobCommand command{"compile", kCompileUsage, false, false, true};
    return runJobCommand(
        command, args,
        [](JobView& view, const std::string& list, const JobOptions& options,
           const Palette& palette) {
            // The same check the compile window makes before its job runs.
            if (!isQblPath(list) && !isSheetJsonPath(list)) {
                view.showMessage(std::string(msg::kNotQbl), MessageIcon::exclamation, list);
                return JobOutcome::failed;
            }
            return compileSprite(view,
                                 CompileInput{list, options.outputDir, palette, options.partial});
        });
}

} // namespace pixmorph::cli
