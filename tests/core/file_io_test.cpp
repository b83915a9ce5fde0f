#include "core/file_io.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pixmorph {
namespace {

namespace fs = std::filesystem;

TEST(FileError, MessagesByCause) {
    EXPECT_EQ(fileErrorMessage(FileErrorCause::fileNotFound, "unit.grp"),
              "unit.grp was not found.");
    EXPECT_EQ(fileErrorMessage(FileErrorCause::badSeek, "unit.grp"), "Seek failed on unit.grp");
    EXPECT_EQ(fileErrorMessage(FileErrorCause::generic, ""),
              "An unknown error occurred while accessing an unnamed file.");
    EXPECT_EQ(fileErrorMessage(FileErrorCause::endOfFile, "a b.bmp"),
              "An attempt was made to access a b.bmp past its end.");
    EXPECT_EQ(fileErrorMessage(FileErrorCause::none, "x"), "No error occurred.");
    EXPECT_EQ(fileErrorMessage(static_cast<FileErrorCause>(15), "x"),
              fileErrorMessage(FileErrorCause::generic, "x"));
    EXPECT_EQ(fileErrorMessage(static_cast<FileErrorCause>(-1), "x"),
              fileErrorMessage(FileErrorCause::generic, "x"));
}

TEST(FileError, CausesOfCommonErrors) {
    const std::pair<int, FileErrorCause> cases[] = {
        {0, FileErrorCause::none},
        {ENOENT, FileErrorCause::fileNotFound},
        {ENOTDIR, FileErrorCause::badPath},
        {ENAMETOOLONG, FileErrorCause::badPath},
        {EMFILE, FileErrorCause::tooManyOpenFiles},
        {EACCES, FileErrorCause::accessDenied},
        {EROFS, FileErrorCause::accessDenied},
        {EISDIR, FileErrorCause::accessDenied},
        {EBADF, FileErrorCause::invalidFile},
        {EIO, FileErrorCause::hardIO},
        {ENOSPC, FileErrorCause::diskFull},
        {EFBIG, FileErrorCause::diskFull},
        {EINVAL, FileErrorCause::generic},
    };
    for (auto [errorNumber, cause] : cases)
        EXPECT_EQ(fileErrorCauseFromErrno(errorNumber), cause) << errorNumber;
}

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("pixmorph-io-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    static void put(const std::string& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string contents(const std::string& file) {
        const FileReadResult read = readWholeFile(file);
        EXPECT_TRUE(read.ok());
        return std::string(read.data.begin(), read.data.end());
    }
    std::vector<std::string> namesInFolder() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(folder_))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs the body in a child process (to change limits or identity) and returns its cause.
    static FileErrorCause inChild(const std::function<FileErrorCause()>& body) {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(static_cast<int>(body()));
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        return static_cast<FileErrorCause>(WEXITSTATUS(status));
    }

    fs::path folder_;
};

Bytes bytesOf(std::string_view text) {
    return Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST_F(FileIo, WritesReplaceTheFileAndLeaveNoTemporaryBehind) {
    const std::string target = path("sprite.grp");
    EXPECT_EQ(writeFileAtomically(target, bytesOf("first")), FileErrorCause::none);
    EXPECT_EQ(contents(target), "first");
    ::chmod(target.c_str(), 0640);
    EXPECT_EQ(writeFileAtomically(target, bytesOf("second, longer")), FileErrorCause::none);
    EXPECT_EQ(contents(target), "second, longer");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(writeFileAtomically(target, Bytes{}), FileErrorCause::none);
    EXPECT_EQ(contents(target), "");
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"sprite.grp"});
}

TEST_F(FileIo, AWriteThroughALinkReplacesWhatItPointsAt) {
    put(path("real.grp"), "old");
    fs::create_symlink(path("real.grp"), path("link.grp"));
    EXPECT_EQ(writeFileAtomically(path("link.grp"), bytesOf("new")), FileErrorCause::none);
    EXPECT_TRUE(fs::is_symlink(path("link.grp")));
    EXPECT_EQ(contents(path("real.grp")), "new");
}

TEST_F(FileIo, FailedWritesKeepTheEarlierFile) {
    EXPECT_EQ(writeFileAtomically(path("missing/out.grp"), bytesOf("x")),
              FileErrorCause::fileNotFound);

    fs::create_directory(path("folder.grp"));
    EXPECT_EQ(writeFileAtomically(path("folder.grp"), bytesOf("x")), FileErrorCause::accessDenied);
    EXPECT_TRUE(fs::is_directory(path("folder.grp")));

    // A file size limit makes the one write fail half way.
    const std::string target = path("out.grp");
    put(target, "earlier");
    const std::string big(4096, 'x');
    EXPECT_EQ(inChild([&] {
                  ::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{100, 100};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                  return writeFileAtomically(target, bytesOf(big));
              }),
              FileErrorCause::diskFull);
    EXPECT_EQ(contents(target), "earlier");
    EXPECT_EQ(namesInFolder(), (std::vector<std::string>{"folder.grp", "out.grp"}));
}

TEST_F(FileIo, AReadOnlyFolderIsRefused) {
    const std::string target = path("out.grp");
    put(target, "earlier");
    ::chmod(folder_.c_str(), 0555);
    // Root passes permission checks, so the child gives itself up to an unprivileged user.
    EXPECT_EQ(inChild([&] {
                  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                      return FileErrorCause::generic;
                  return writeFileAtomically(target, bytesOf("new"));
              }),
              FileErrorCause::accessDenied);
    EXPECT_EQ(contents(target), "earlier");
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"out.grp"});
}

TEST_F(FileIo, ReadsAreBoundedBeforeAllocating) {
    const std::string file = path("data.bin");
    put(file, std::string(1000, 'a'));
    EXPECT_EQ(readWholeFile(file, 1000).data.size(), 1000u);
    const FileReadResult tooLarge = readWholeFile(file, 999);
    EXPECT_EQ(tooLarge.error, FileErrorCause::generic);
    EXPECT_TRUE(tooLarge.data.empty());

    // A device reports no size; the bound still holds while reading.
    EXPECT_EQ(readWholeFile("/dev/zero", 200000).error, FileErrorCause::generic);

    put(path("empty"), "");
    const FileReadResult empty = readWholeFile(path("empty"));
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.data.empty());

    EXPECT_EQ(readWholeFile(path("absent")).error, FileErrorCause::fileNotFound);
    EXPECT_EQ(readWholeFile(folder_.string()).error, FileErrorCause::accessDenied);
    EXPECT_EQ(readWholeFile("").error, FileErrorCause::fileNotFound);
}

} // namespace
} // namespace pixmorph
