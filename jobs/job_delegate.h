#pragma once
// What a conversion job reports while it runs. The job says what happens; each front end
// decides how to show it (the desktop in its progress window, the command line on stderr).
// Every report but the question is ignored unless a front end shows it.

#include "core/messages.h"

#include <cstddef>
#include <optional>
#include <string>

namespace pixmorph {

enum class ExportMode { all = 1, unique = 2 };

enum class FileAccess { read, write };

// How a run ended, as the job returns it.
enum class JobOutcome {
    finished,    // all written
    nothingToDo, // no input (a cancelled picker): nothing written, no message
    cancelled,   // the export's question was closed without an answer
    failed,      // a message was reported; nothing partial was left behind
};

class JobDelegate {
public:
    virtual ~JobDelegate() = default;

    // The export's question before anything else: which frames to write. nullopt cancels the
    // run.
    virtual std::optional<ExportMode> chooseExportMode() = 0;

    // The job has its answer and begins.
    virtual void started() {}
    // The job turns to a file, to read it or to write it.
    virtual void fileStarted(const std::string& /*path*/, FileAccess /*access*/) {}
    // `done` of the current file's `total` steps are through: (0, total) when the steps are
    // counted, before the first. The export steps as it begins each frame, the compile as it
    // has added each bitmap (a repeated frame is no step).
    virtual void progress(std::size_t /*done*/, std::size_t /*total*/) {}
    // The frame with this index cannot be converted; the message with the reason follows.
    virtual void frameRefused(std::size_t /*frame*/) {}
    // Something the user is told; `file` names the file it concerns. The run goes on only after
    // this returns.
    virtual void message(const std::string& /*text*/, MessageIcon /*icon*/,
                         const std::string& /*file*/) {}

    // The job's files are complete and about to take their names. A front end running jobs
    // side by side holds a job here until the jobs before it are done, so that where two jobs
    // write the same name the later job's file stays, as when they run one after another.
    virtual void namingFiles() {}

    // The end of a run: one of these, except for a run with nothing to do, which ends after
    // started() without a word.
    virtual void finished() {}
    virtual void failed() {}
    virtual void cancelled() {}
};

} // namespace pixmorph
