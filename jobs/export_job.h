#pragma once
// GRP to BMP export: every frame, or only frames with their own data, as RLE8 bitmaps at the
// full sprite size, with a QBL list that names them.

#include "core/palette.h"
#include "jobs/job_delegate.h"

#include <string>

namespace pixmorph {

struct ExportInput {
    std::string grpPath;   // empty: nothing to export
    std::string outputDir; // empty: the bitmaps and the list go beside the GRP
    Palette palette;
};

// Asks the delegate which frames to write, then writes them.
JobOutcome runExportJob(JobDelegate& delegate, const ExportInput& input);

} // namespace pixmorph
