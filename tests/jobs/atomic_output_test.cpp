// A write that fails half-way (the file-size limit of the process) costs no earlier file and
// leaves no temporary file behind.
#include "jobs/compile_job.h"
#include "jobs/export_job.h"
#include "jobs/recording_view.h"
#include "support/job_files.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pixmorph {
namespace {

using namespace testing;

// Runs the job in a child whose files may not grow past `limit` bytes; true when it failed
// with one stop message and OK disabled.
bool failsUnderSizeLimit(rlim_t limit, const std::function<JobOutcome(JobView&)>& job) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{limit, limit};
        setrlimit(RLIMIT_FSIZE, &small);
        RecordingView view(ExportMode::unique);
        const bool failed = job(view) == JobOutcome::failed && view.messages.size() == 1 &&
                            view.messages[0].starts_with("stop ") && !view.okEnabled;
        _exit(failed ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(AtomicOutput, FailedWritesKeepEarlierFiles) {
    ScratchDir dir;
    const ByteVector sprite = makeSprite(11, 120, 100, {std::nullopt, 0});
    writeFile(dir.file("u.grp"), sprite);
    RecordingView view(ExportMode::unique);
    ASSERT_EQ(RunExport(view, {dir.file("u.grp"), "", Palette()}), JobOutcome::finished);
    const ByteVector earlier{'o', 'l', 'd'};
    writeFile(dir.file("x_u.grp"), earlier);
    const auto before = dir.names();

    // The compiled sprite is as large as the original: half of it cannot be written.
    EXPECT_TRUE(failsUnderSizeLimit(sprite.size() / 2, [&](JobView& view) {
        return compileSprite(view, {dir.file("u.qbl"), "", Palette()});
    }));
    // No bitmap is under 1078 bytes.
    writeFile(dir.file("u.qbl"), earlier);
    writeFile(dir.file("u000.bmp"), earlier);
    EXPECT_TRUE(failsUnderSizeLimit(1000, [&](JobView& view) {
        return RunExport(view, {dir.file("u.grp"), "", Palette()});
    }));
    for (const char* name : {"x_u.grp", "u.qbl", "u000.bmp"})
        EXPECT_EQ(readFile(dir.file(name)), earlier) << name;
    EXPECT_EQ(dir.names(), before);
}

} // namespace
} // namespace pixmorph
