#pragma once
// BMP to GRP compile: the bitmaps a QBL list names become one GRP, "dupe_of_" entries sharing
// an earlier frame's data.

#include "core/grp_format.h"
#include "core/palette.h"
#include "jobs/job_delegate.h"

#include <string>

namespace pixmorph {

struct CompileInput {
    std::string listPath;  // bitmap names resolve against the list's folder
    std::string outputDir; // empty: the GRP goes beside the list
    Palette palette;
    SpriteEncoding encoding = SpriteEncoding::runLength;
    bool compact = false; // the same frames in the fewest bytes we can make (--compact)
    bool partial = false; // a list of some of a sprite's frames is compiled, not refused
};

JobOutcome runCompileJob(JobDelegate& delegate, const CompileInput& input);

} // namespace pixmorph
