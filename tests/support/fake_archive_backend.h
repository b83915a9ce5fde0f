#pragma once
// An archive reader over a map of names to bytes that counts what is open and can be told to
// misbehave.

#include "archive/archive_backend.h"
#include "core/bytes.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace pixmorph::testing {

struct FakeArchiveState {
    std::map<std::string, ByteVector> files;
    std::optional<std::uint64_t> claimedSize; // else the real size
    std::uint32_t bytesShort = 0;             // the read comes up short
    int archivesOpen = 0;
    int filesOpen = 0;
    int reads = 0;
};

class FakeArchiveBackend final : public ArchiveBackend {
public:
    explicit FakeArchiveBackend(std::shared_ptr<FakeArchiveState> state)
        : state_(std::move(state)) {}

    bool openArchive(const std::string&, Handle& archive) override {
        archive = state_.get();
        return ++state_->archivesOpen;
    }
    bool openFile(Handle, const std::string& name, Handle& file) override {
        const auto found = state_->files.find(name);
        file = found == state_->files.end() ? nullptr : &found->second;
        return file && ++state_->filesOpen;
    }
    std::uint64_t fileSize(Handle file) override {
        return state_->claimedSize.value_or(static_cast<ByteVector*>(file)->size());
    }
    bool readFile(Handle file, void* buffer, std::uint32_t byteCount,
                  std::uint32_t& bytesRead) override {
        ++state_->reads;
        const auto& data = *static_cast<ByteVector*>(file);
        bytesRead = static_cast<std::uint32_t>(std::min<std::size_t>(byteCount, data.size()));
        bytesRead -= std::min(bytesRead, state_->bytesShort);
        std::copy_n(data.begin(), bytesRead, static_cast<std::uint8_t*>(buffer));
        return true;
    }
    void closeFile(Handle) override { --state_->filesOpen; }
    void closeArchive(Handle) override { --state_->archivesOpen; }

private:
    std::shared_ptr<FakeArchiveState> state_;
};

inline std::unique_ptr<ArchiveBackend> makeFakeBackend(std::shared_ptr<FakeArchiveState> state) {
    return std::make_unique<FakeArchiveBackend>(std::move(state));
}

} // namespace pixmorph::testing
