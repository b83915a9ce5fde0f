// Writes that cannot complete: cut short by the file size limit (as `ulimit -f` sets it), a
// disk that takes no byte at all (the same limit at 0, since tests cannot fill a real disk),
// an output folder the user may not write to (the child gives itself up to an unprivileged
// user, as root passes every permission check), a missing folder and a file in the folder's
// place. Each ends the command with one line naming the file and leaves every earlier output
// byte-identical, with no temporary file beside it.
#include "cli_run.h"
#include "folder_snapshot.h"
#include "support/job_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

namespace pixmorph {
namespace {

using testing::makeSprite;
using testing::ScratchDir;

namespace fs = std::filesystem;

// in/ holds the inputs, out/ what an earlier run wrote; both readable by every user.
struct Workspace {
    ScratchDir root;
    std::string in = root.file("in");
    std::string out = root.file("out");
    Workspace() {
        fs::create_directory(in);
        fs::create_directory(out);
        fs::permissions(root.path(), fs::perms::owner_all | fs::perms::group_read |
                                         fs::perms::group_exec | fs::perms::others_read |
                                         fs::perms::others_exec);
    }
    std::string input(const std::string& name) const { return in + "/" + name; }
};

std::uintmax_t sizeOf(const std::string& path) {
    return fs::file_size(path);
}

// A sprite whose first frame is one pixel and whose second is noise over the whole sprite, so
// its first bitmap is much smaller than its second.
ByteVector smallThenLargeFrames(std::uint32_t seed) {
    SpriteWriter writer(2);
    IndexImage image;
    image.set(3, 3, 7);
    writer.addFrame(image, 64, 64);
    std::uint32_t state = seed;
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 63; ++y) {
            state = state * 1664525u + 1013904223u;
            image.set(x, y, 1 + (state >> 24) % 255);
        }
    writer.addFrame(image, 64, 64);
    return writer.finish();
}

struct Fault {
    const char* name;
    test::CliRunOptions options;
    // The file the message names, relative to the output folder, and the message's start.
    std::string file;
    std::string messageStart;
};

class WriteFault : public ::testing::Test {
protected:
    // Runs the command under the fault and checks the refusal and the folder.
    void expectRefusedAndUnchanged(const std::vector<std::string>& args, const Fault& fault,
                                   const std::string& folderChecked) {
        SCOPED_TRACE(fault.name);
        const test::FolderSnapshot before = test::snapshotOf(folderChecked);
        const test::CliRun run = test::runCli(args, fault.options);
        EXPECT_EQ(run.signal, 0) << "killed by signal " << run.signal;
        EXPECT_EQ(run.exitCode, 1) << run.err;
        const std::vector<std::string> lines = test::linesOf(run.err);
        ASSERT_EQ(lines.size(), 1u) << run.err;
        EXPECT_TRUE(lines[0].starts_with(fault.file + ": " + fault.messageStart)) << lines[0];
        EXPECT_EQ(test::snapshotOf(folderChecked), before);
    }
};

// The faults every command meets; limit is a size between the small and the large file.
std::vector<Fault> faultsFor(const Workspace& w, std::uintmax_t limit, const std::string& small,
                             const std::string& large) {
    test::CliRunOptions cutShort;
    cutShort.fileSizeLimit = static_cast<long>(limit);
    test::CliRunOptions diskFull;
    diskFull.fileSizeLimit = 0;
    test::CliRunOptions readOnly;
    readOnly.asUnprivilegedUser = true;
    return {
        {"cut short by the file size limit", cutShort, w.out + "/" + large, "Disk full while"},
        {"a disk that takes no byte", diskFull, w.out + "/" + small, "Disk full while"},
        {"a read-only output folder", readOnly, w.out + "/" + small, "Access to"},
    };
}

TEST_F(WriteFault, ExportKeepsEveryEarlierBitmapAndList) {
    Workspace w;
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(1));
    ASSERT_EQ(test::runCli({"export", "--output-dir", w.out, w.input("s.grp")}).exitCode, 0);
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(2));

    // The sizes of the new files, from a run into a scratch folder.
    ScratchDir probe;
    ASSERT_EQ(test::runCli({"export", "--output-dir", probe.path(), w.input("s.grp")}).exitCode, 0);
    const std::uintmax_t small = sizeOf(probe.file("s000.bmp"));
    const std::uintmax_t large = sizeOf(probe.file("s001.bmp"));
    ASSERT_LT(small + 1000, large);

    fs::permissions(w.out, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                               fs::perms::others_exec);
    for (const Fault& fault : faultsFor(w, (small + large) / 2, "s000.bmp", "s001.bmp"))
        expectRefusedAndUnchanged({"export", "--output-dir", w.out, w.input("s.grp")}, fault,
                                  w.root.path());
    fs::permissions(w.out, fs::perms::owner_all);
}

TEST_F(WriteFault, CompileKeepsTheEarlierSprite) {
    Workspace w;
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(1));
    ASSERT_EQ(test::runCli({"export", w.input("s.grp")}).exitCode, 0);
    ASSERT_EQ(test::runCli({"compile", "--output-dir", w.out, w.input("s.qbl")}).exitCode, 0);
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(2));
    ASSERT_EQ(test::runCli({"export", w.input("s.grp")}).exitCode, 0);

    ScratchDir probe;
    ASSERT_EQ(test::runCli({"compile", "--output-dir", probe.path(), w.input("s.qbl")}).exitCode,
              0);
    const std::uintmax_t size = sizeOf(probe.file("x_s.grp"));

    fs::permissions(w.out, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                               fs::perms::others_exec);
    for (const Fault& fault : faultsFor(w, size / 2, "x_s.grp", "x_s.grp"))
        expectRefusedAndUnchanged({"compile", "--output-dir", w.out, w.input("s.qbl")}, fault,
                                  w.root.path());
    fs::permissions(w.out, fs::perms::owner_all);
}

// A folder that is not there, or a file where the folder should be: nothing is created.
TEST_F(WriteFault, OutputFolderMissingOrAFile) {
    Workspace w;
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(1));
    ASSERT_EQ(test::runCli({"export", w.input("s.grp")}).exitCode, 0);
    const std::string missing = w.out + "/missing";
    const std::string file = w.input("s.grp");
    const Fault faults[] = {
        {"missing folder", {}, missing + "/s000.bmp", missing + "/s000.bmp was not found."},
        {"a file in the folder's place",
         {},
         file + "/s000.bmp",
         file + "/s000.bmp contains an invalid path."},
    };
    for (const char* command : {"export", "compile"}) {
        const std::string input = w.input(command == std::string("export") ? "s.grp" : "s.qbl");
        for (Fault fault : faults) {
            if (command == std::string("compile")) {
                fault.file.replace(fault.file.size() - 8, 8, "x_s.grp");
                fault.messageStart.replace(fault.messageStart.find("s000.bmp"), 8, "x_s.grp");
            }
            const std::string folder = fault.file.substr(0, fault.file.rfind('/'));
            expectRefusedAndUnchanged({command, "--output-dir", folder, input}, fault,
                                      w.root.path());
        }
    }
}

} // namespace
} // namespace pixmorph
