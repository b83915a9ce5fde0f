// Writes that cannot complete: cut short by the file size limit (as `ulimit -f` sets it), a
// disk that takes no byte at all (the same limit at 0, since tests cannot fill a real disk),
// an output folder the user may not write to (the child gives itself up to an unprivileged
// user, as root passes every permission check), a missing folder and a file in the folder's
// place. Each ends the export, the compile or the extraction with one line naming the file and
// leaves every earlier output byte-identical, with no temporary file beside it.
#include "cli_run.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

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
    std::string lineStart; // what the one line of the message starts with
};

// A command that writes into the output folder, with what its message names when its first
// write fails and when its largest write is cut short, and a file size between the two.
struct WritingCommand {
    std::vector<std::string> args;
    std::string firstWrite;
    std::string largestWrite;
    std::uintmax_t limit = 0;
};

// Runs the command under the fault and checks the refusal and the folder.
void expectRefusedAndUnchanged(const std::vector<std::string>& args, const Fault& fault,
                               const std::string& folderChecked) {
    SCOPED_TRACE(fault.name);
    const testing::FolderSnapshot before = testing::snapshotOf(folderChecked);
    const test::CliRun run = test::runCli(args, fault.options);
    EXPECT_EQ(run.signal, 0) << "killed by signal " << run.signal;
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const std::vector<std::string> lines = test::linesOf(run.err);
    ASSERT_EQ(lines.size(), 1u) << run.err;
    EXPECT_TRUE(lines[0].starts_with(fault.lineStart)) << lines[0];
    EXPECT_EQ(testing::snapshotOf(folderChecked), before);
}

void setFolderModes(const std::string& top, fs::perms modes) {
    fs::permissions(top, modes);
    for (const auto& item : fs::recursive_directory_iterator(top))
        if (item.is_directory())
            fs::permissions(item.path(), modes);
}

// The write cut short, the disk that takes nothing and the read-only output folder (every
// folder in it read-only, for an unprivileged user).
void expectEveryFaultRefused(const Workspace& w, const WritingCommand& command) {
    test::CliRunOptions cutShort;
    cutShort.fileSizeLimit = static_cast<long>(command.limit);
    test::CliRunOptions diskFull;
    diskFull.fileSizeLimit = 0;
    test::CliRunOptions readOnly;
    readOnly.asUnprivilegedUser = true;
    const Fault faults[] = {
        {"cut short by the file size limit", cutShort,
         command.largestWrite + ": Disk full while accessing"},
        {"a disk that takes no byte", diskFull, command.firstWrite + ": Disk full while accessing"},
        {"a read-only output folder", readOnly, command.firstWrite + ": Access to"},
    };
    const fs::perms readable = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::others_read | fs::perms::others_exec;
    setFolderModes(w.out, readable);
    for (const Fault& fault : faults)
        expectRefusedAndUnchanged(command.args, fault, w.root.path());
    setFolderModes(w.out, readable | fs::perms::owner_write);
}

TEST(WriteFault, ExportKeepsEveryEarlierBitmapAndList) {
    Workspace w;
    const std::vector<std::string> args = {"export", "--output-dir", w.out, w.input("s.grp")};
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(1));
    ASSERT_EQ(test::runCli(args).exitCode, 0);
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(2));

    // The sizes of the new files, from a run into a scratch folder.
    ScratchDir probe;
    ASSERT_EQ(test::runCli({"export", "--output-dir", probe.path(), w.input("s.grp")}).exitCode, 0);
    const std::uintmax_t small = fs::file_size(probe.file("s000.bmp"));
    const std::uintmax_t large = fs::file_size(probe.file("s001.bmp"));
    ASSERT_LT(small + 1000, large);
    const std::string bitmaps = w.out + "/s00";
    expectEveryFaultRefused(w, {args, bitmaps + "0.bmp", bitmaps + "1.bmp", (small + large) / 2});
}

TEST(WriteFault, CompileKeepsTheEarlierSprite) {
    Workspace w;
    const std::vector<std::string> args = {"compile", "--output-dir", w.out, w.input("s.qbl")};
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(1));
    ASSERT_EQ(test::runCli({"export", w.input("s.grp")}).exitCode, 0);
    ASSERT_EQ(test::runCli(args).exitCode, 0);
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(2));
    ASSERT_EQ(test::runCli({"export", w.input("s.grp")}).exitCode, 0);

    ScratchDir probe;
    ASSERT_EQ(test::runCli({"compile", "--output-dir", probe.path(), w.input("s.qbl")}).exitCode,
              0);
    const std::string sprite = w.out + "/x_s.grp";
    expectEveryFaultRefused(w, {args, sprite, sprite, fs::file_size(probe.file("x_s.grp")) / 2});
}

TEST(WriteFault, ExtractionKeepsTheEarlierFile) {
    Workspace w;
    const std::string name = "unit\\zerg\\s.grp";
    testing::writeFile(w.input("names.txt"), name + "\n");
    const std::vector<std::string> args = {
        "extract", "--names", w.input("names.txt"), "--output-dir", w.out, w.input("a.mpq"), name};
    ASSERT_TRUE(testing::writeArchive(w.input("a.mpq"), {{name, smallThenLargeFrames(1)}}));
    ASSERT_EQ(test::runCli(args).exitCode, 0);
    const ByteVector next = smallThenLargeFrames(2);
    ASSERT_TRUE(testing::writeArchive(w.input("a.mpq"), {{name, next}}));
    expectEveryFaultRefused(w, {args, name, name, next.size() / 2});
}

// A folder that is not there, or a file where the folder should be: nothing is created.
TEST(WriteFault, OutputFolderMissingOrAFile) {
    Workspace w;
    testing::writeFile(w.input("s.grp"), smallThenLargeFrames(1));
    ASSERT_EQ(test::runCli({"export", w.input("s.grp")}).exitCode, 0);
    const struct {
        const char* command;
        const char* input;
        const char* firstOutput;
    } commands[] = {{"export", "s.grp", "s000.bmp"}, {"compile", "s.qbl", "x_s.grp"}};
    const std::pair<std::string, const char*> folders[] = {
        {w.out + "/missing", " was not found."},
        {w.input("s.grp"), " contains an invalid path."},
    };
    for (const auto& c : commands)
        for (const auto& [folder, ending] : folders) {
            const std::string path = folder + "/" + c.firstOutput;
            expectRefusedAndUnchanged({c.command, "--output-dir", folder, w.input(c.input)},
                                      {c.command, {}, path + ": " + path + ending}, w.root.path());
        }
}

} // namespace
} // namespace pixmorph
