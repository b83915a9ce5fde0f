#include "cli/cli_job_delegate.h"
#include "cli/job_command.h"
#include "core/messages.h"
#include "core/text_rules.h"
#include "jobs/compile_job.h"
#include "jobs/sheet_json.h"

namespace pixmorph::cli {

int runCompile(const Args& args) {
    static constexpr JobCommand command{"compile", kCompileUsage, false, true, true, false, true};
    return runJobCommand(command, args,
                         [](JobDelegate& delegate, const std::string& list,
                            const JobOptions& options, const Palette& palette) {
                             // The same check the compile window makes before its job runs.
                             if (!isQblPath(list) && !isSheetJsonPath(list)) {
                                 printMessageLine(list, std::string(msg::kNotQbl));
                                 return JobOutcome::failed;
                             }
                             return runCompileJob(delegate,
                                                  CompileInput{list, options.outputDir, palette,
                                                               options.encoding, options.compact,
                                                               options.partial});
                         });
}

} // namespace pixmorph::cli
