#pragma once
// A sprite sheet to GRP compile: the sheet's JSON (ours or Aseprite's) names the picture and
// each frame's rectangle in it; frames our JSON marks as repeats share an earlier frame's data.

#include "jobs/compile_job.h"

namespace pixmorph {

// input.listPath names the JSON; the GRP is "x_" + the sprite's name (ours) or the JSON's
// name with ".grp".
JobOutcome runSheetCompileJob(JobDelegate& delegate, const CompileInput& input);

} // namespace pixmorph
