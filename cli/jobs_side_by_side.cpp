#include "cli/jobs_side_by_side.h"

#include "cli/cli_job_delegate.h"

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace pixmorph::cli {

namespace {

struct HeldMessage {
    std::string text;
    MessageIcon icon;
    std::string file;
};

// Keeps a job's messages to be shown when its turn comes, and holds it before it names its
// files until the jobs before it are done.
class HoldingDelegate final : public JobDelegate {
public:
    HoldingDelegate(ExportMode mode, std::function<void()> waitForEarlierJobs)
        : mode_(mode), waitForEarlierJobs_(std::move(waitForEarlierJobs)) {}

    std::optional<ExportMode> chooseExportMode() override { return mode_; }
    void message(const std::string& text, MessageIcon icon, const std::string& file) override {
        messages_.push_back({text, icon, file});
    }
    void namingFiles() override { waitForEarlierJobs_(); }

    std::vector<HeldMessage> takeMessages() { return std::move(messages_); }

private:
    ExportMode mode_;
    std::function<void()> waitForEarlierJobs_;
    std::vector<HeldMessage> messages_;
};

struct JobResult {
    std::vector<HeldMessage> messages;
    bool finished = false;
};

class SideBySideRun {
public:
    SideBySideRun(const JobOptions& options, const Palette& palette, const RunJob& runJob)
        : options_(options), palette_(palette), runJob_(runJob), results_(options.inputs.size()) {}

    bool run() {
        {
            std::jthread helper;
            try {
                helper = std::jthread([this] { work(); });
            } catch (const std::system_error&) {
                // No second thread: this one runs every job.
            }
            work();
        }
        if (thrown_)
            std::rethrow_exception(thrown_);
        return allFinished_;
    }

private:
    // Takes the next input's job until none is left.
    void work() {
        for (;;) {
            std::size_t i = 0;
            {
                const std::lock_guard lock(mutex_);
                if (next_ >= results_.size() || thrown_)
                    return;
                i = next_++;
            }
            HoldingDelegate delegate(options_.mode, [this, i] {
                std::unique_lock lock(mutex_);
                shown_.wait(lock, [this, i] { return shownCount_ >= i; });
            });
            JobResult result;
            try {
                result.finished = runJob_(delegate, options_.inputs[i], options_, palette_) ==
                                  JobOutcome::finished;
            } catch (...) {
                const std::lock_guard lock(mutex_);
                if (!thrown_)
                    thrown_ = std::current_exception();
            }
            result.messages = delegate.takeMessages();
            const std::lock_guard lock(mutex_);
            results_[i] = std::move(result);
            showDoneJobs();
        }
    }

    // Shows the messages of the jobs done since the last one shown, in the order of the inputs.
    void showDoneJobs() {
        while (shownCount_ < results_.size() && results_[shownCount_]) {
            const JobResult& result = *results_[shownCount_];
            CliJobDelegate shown(options_.mode, options_.inputs[shownCount_], false);
            for (const HeldMessage& message : result.messages)
                shown.message(message.text, message.icon, message.file);
            allFinished_ = allFinished_ && result.finished;
            results_[shownCount_]->messages.clear();
            ++shownCount_;
        }
        shown_.notify_all();
    }

    const JobOptions& options_;
    const Palette& palette_;
    const RunJob& runJob_;
    std::mutex mutex_;
    std::condition_variable shown_;
    std::vector<std::optional<JobResult>> results_;
    std::size_t next_ = 0;       // the next input whose job starts
    std::size_t shownCount_ = 0; // the jobs of the first this many inputs are done and shown
    bool allFinished_ = true;
    std::exception_ptr thrown_;
};

} // namespace

bool runJobsSideBySide(const JobOptions& options, const Palette& palette, const RunJob& runJob) {
    return SideBySideRun(options, palette, runJob).run();
}

} // namespace pixmorph::cli
