#include "jobs/export_job.h"

namespace pixmorph {

JobOutcome RunExport(JobView&, const ExportInput&) {
    return JobOutcome::failed; // built by the export work
}

} // namespace pixmorph
