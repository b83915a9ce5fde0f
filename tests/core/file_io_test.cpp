#include "core/file_io.h"
#include "support/job_files.h"

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

using Names = std::set<std::string>;

class FileIo : public ::testing::Test {
protected:
    void TearDown() override {
        fs::permissions(dir_.path(), fs::perms::owner_all, fs::perm_options::add);
    }
    std::string path(const std::string& name) const { return dir_.file(name); }
    // Runs the body in a child process (to change limits or identity); returns its cause.
    static FileErrorCause inChild(const std::function<FileErrorCause()>& body) {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(static_cast<int>(body()));
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? static_cast<FileErrorCause>(WEXITSTATUS(status))
                                 : FileErrorCause::generic;
    }
    static Bytes bytesOf(std::string_view text) {
        return Bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }

    testing::ScratchDir dir_;
};

TEST_F(FileIo, WritesReplaceTheFileKeepItsModeAndLeaveNoTemporary) {
    const std::string target = path("sprite.grp");
    EXPECT_EQ(writeFileAtomically(target, bytesOf("first")), FileErrorCause::none);
    ::chmod(target.c_str(), 0640);
    EXPECT_EQ(writeFileAtomically(target, bytesOf("second")), FileErrorCause::none);
    EXPECT_EQ(testing::readText(target), "second");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Through a link, the file it points at is replaced and the link stays.
    fs::create_symlink(target, path("link.grp"));
    EXPECT_EQ(writeFileAtomically(path("link.grp"), Bytes{}), FileErrorCause::none);
    EXPECT_TRUE(fs::is_symlink(path("link.grp")));
    EXPECT_EQ(testing::readText(target), "");
    EXPECT_EQ(dir_.names(), (Names{"link.grp", "sprite.grp"}));
}

TEST_F(FileIo, FailedWritesKeepTheEarlierFile) {
    const std::string target = path("out.grp");
    std::ofstream(target) << "earlier";
    fs::create_directory(path("folder.grp"));
    EXPECT_EQ(writeFileAtomically(path("missing/out.grp"), bytesOf("x")),
              FileErrorCause::fileNotFound);
    EXPECT_EQ(writeFileAtomically(path("folder.grp"), bytesOf("x")), FileErrorCause::accessDenied);

    // A file size limit makes the one write fail half way.
    const std::string big(4096, 'x');
    EXPECT_EQ(inChild([&] {
                  ::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{100, 100};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                  return writeFileAtomically(target, bytesOf(big));
              }),
              FileErrorCause::diskFull);

    // Root passes permission checks, so the child gives itself up to an unprivileged user.
    ::chmod(dir_.path().c_str(), 0555);
    EXPECT_EQ(inChild([&] {
                  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                      return FileErrorCause::generic;
                  return writeFileAtomically(target, bytesOf("new"));
              }),
              FileErrorCause::accessDenied);
    EXPECT_EQ(testing::readText(target), "earlier");
    EXPECT_EQ(dir_.names(), (Names{"folder.grp", "out.grp"}));
}

// Files staged together replace their targets only all at once.
TEST_F(FileIo, StagedFilesReplaceAllOrNone) {
    for (const char* name : {"a.bmp", "b.bmp"})
        std::ofstream(path(name)) << "earlier";
    const Names before = dir_.names();
    {
        StagedFiles files; // the second write fails: the first is dropped with it
        EXPECT_EQ(files.add(path("a.bmp"), bytesOf("new")), FileErrorCause::none);
        EXPECT_EQ(files.add(path("missing/b.bmp"), bytesOf("new")), FileErrorCause::fileNotFound);
        EXPECT_EQ(files.commit(), FileErrorCause::none);
    }
    {
        StagedFiles files; // never committed
        EXPECT_EQ(files.add(path("a.bmp"), bytesOf("new")), FileErrorCause::none);
    }
    EXPECT_EQ(testing::readText(path("a.bmp")), "earlier");
    EXPECT_EQ(dir_.names(), before);

    StagedFiles files;
    for (const char* name : {"a.bmp", "b.bmp", "c.qbl"})
        EXPECT_EQ(files.add(path(name), bytesOf(name)), FileErrorCause::none);
    EXPECT_EQ(files.commit(), FileErrorCause::none);
    EXPECT_EQ(testing::readText(path("b.bmp")), "b.bmp");
    EXPECT_EQ(dir_.names(), (Names{"a.bmp", "b.bmp", "c.qbl"}));
}

TEST_F(FileIo, ReadsAreBoundedBeforeAllocating) {
    const std::string file = path("data.bin");
    std::ofstream(file) << std::string(1000, 'a');
    EXPECT_EQ(readWholeFile(file, 1000).data.size(), 1000u);
    EXPECT_EQ(readWholeFile(file, 999).error, FileErrorCause::generic);
    // A device reports no size; the bound still holds while reading.
    EXPECT_EQ(readWholeFile("/dev/zero", 200000).error, FileErrorCause::generic);
    EXPECT_EQ(readWholeFile(path("absent")).error, FileErrorCause::fileNotFound);
    EXPECT_EQ(readWholeFile(dir_.path()).error, FileErrorCause::accessDenied);
    // A cause out of range still makes a sentence.
    EXPECT_EQ(fileErrorMessage(static_cast<FileErrorCause>(15), "x"),
              "An unknown error occurred while accessing x.");
}

} // namespace
} // namespace pixmorph
