#pragma once
// A job delegate for a job on a worker thread: each report reaches the target delegate on the
// thread of a context object as a queued call, in the order made. The export's question and the
// messages wait there for their answer, so the job goes on only once the user has answered.

#include "jobs/job_delegate.h"

#include <QObject>

namespace pixmorph::ui {

class QueuedJobDelegate final : public JobDelegate {
public:
    QueuedJobDelegate(QObject& context, JobDelegate& target) : context_(context), target_(target) {}

    std::optional<ExportMode> chooseExportMode() override {
        std::optional<ExportMode> mode;
        wait([&] { mode = target_.chooseExportMode(); });
        return mode;
    }
    void started() override {
        post([&target = target_] { target.started(); });
    }
    void fileStarted(const std::string& path, FileAccess access) override {
        post([&target = target_, path, access] { target.fileStarted(path, access); });
    }
    void progress(std::size_t done, std::size_t total) override {
        post([&target = target_, done, total] { target.progress(done, total); });
    }
    void frameRefused(std::size_t frame) override {
        post([&target = target_, frame] { target.frameRefused(frame); });
    }
    void message(const std::string& text, MessageIcon icon, const std::string& file) override {
        wait([&] { target_.message(text, icon, file); });
    }
    void finished() override {
        post([&target = target_] { target.finished(); });
    }
    void failed() override {
        post([&target = target_] { target.failed(); });
    }
    void cancelled() override {
        post([&target = target_] { target.cancelled(); });
    }

private:
    template <typename Call> void post(Call call) {
        QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
    }
    template <typename Call> void wait(Call call) {
        QMetaObject::invokeMethod(&context_, std::move(call), Qt::BlockingQueuedConnection);
    }

    QObject& context_;
    JobDelegate& target_;
};

} // namespace pixmorph::ui
