// What others may have planted around the output folder (links, folders and read-only files at
// target names, FIFOs and devices among the inputs, temporary files of killed runs) and a disk
// too small: pixmorph-cli ends with its status and one line, writes nothing outside the output
// folder and, when it fails, changes nothing at all.
#include "cli_run.h"
#include "support/job_files.h"
#include "support/mpq_test_files.h"

#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace pixmorph {
namespace {

namespace fs = std::filesystem;
using testing::FolderSnapshot;
using testing::ScratchDir;
using testing::writeFile;
using Listing = std::set<std::string>;

// The inputs in in/ (a sprite, its bitmaps and list, an archive holding it), the outputs to
// out/, and elsewhere/ with a file that links may point at.
struct Folders {
    ScratchDir root;
    std::string in = root.file("in"), out = root.file("out"), elsewhere = root.file("elsewhere");
    std::string entry = "unit\\zerg\\s.grp";
    Folders() {
        for (const std::string& folder : {in, out, elsewhere})
            fs::create_directory(folder);
        fs::permissions(root.path(),
                        fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        const ByteVector sprite = testing::makeSprite(1, 24, 16, {std::nullopt, std::nullopt});
        writeFile(in + "/s.grp", sprite);
        EXPECT_EQ(test::runCli({"export", in + "/s.grp"}).exitCode, 0);
        EXPECT_TRUE(testing::writeArchive(in + "/a.mpq", {{entry, sprite}}));
        writeFile(in + "/names.txt", entry + "\r\n");
        writeFile(elsewhere + "/victim", std::string("victim"));
    }
};

// The output folder's entries: a folder ends in '/', a link shows where it points.
Listing listingOf(const std::string& folder) {
    Listing listing;
    for (const auto& [name, contents] : testing::snapshotOf(folder))
        listing.insert(contents == "/"               ? name + "/"
                       : contents.starts_with("-> ") ? name + " " + contents
                                                     : name);
    return listing;
}

FolderSnapshot outsideOf(FolderSnapshot snapshot, const std::string& folder) {
    std::erase_if(snapshot, [&](const auto& item) { return item.first.starts_with(folder); });
    return snapshot;
}

struct HostileCase {
    const char* name;
    std::function<void(const Folders&)> plant;
    std::function<std::vector<std::string>(const Folders&)> args;
    int exitCode;
    std::function<std::string(const Folders&)> line; // what stderr says, "" for nothing
    Listing outAfter = {};                           // for a run that succeeds
    test::CliRunOptions options = {};
};

std::vector<std::string> exportArgs(const Folders& f) {
    return {"export", "--output-dir", f.out, f.in + "/s.grp"};
}
std::vector<std::string> extractArgs(const Folders& f) {
    return {"extract",       "--names", f.in + "/names.txt", "--output-dir", f.out,
            f.in + "/a.mpq", f.entry};
}
void link(const std::string& target, const std::string& at) {
    fs::create_symlink(target, at);
}
std::string notRegular(const std::string& path) {
    return path + " is not a regular file: Pixmorph reads only regular files.\n";
}

std::vector<HostileCase> hostileCases() {
    const auto none = [](const Folders&) { return std::string(); };
    const Listing exported{"s000.bmp", "s001.bmp", "s.qbl"};
    const std::string dead =
        ".s000.bmp." + std::to_string(testing::endedProcess()) + ".0123abcd.tmp";
    const std::string live = ".s000.bmp." + std::to_string(::getpid()) + ".0123abcd.tmp";
    // clang-format off
    return {
        {"LinkAtABitmapsName", [](auto& f) { link("../elsewhere/victim", f.out + "/s000.bmp"); }, exportArgs, 0, none, exported},
        {"LinkAtTheSpritesName", [](auto& f) { link("../elsewhere/victim", f.out + "/x_s.grp"); },
         [](auto& f) { return std::vector<std::string>{"compile", "--output-dir", f.out, f.in + "/s.qbl"}; }, 0, none, {"x_s.grp"}},
        {"LinkAtTheExtractedName", [](auto& f) { fs::create_directories(f.out + "/unit/zerg"); link("../../../elsewhere/victim", f.out + "/unit/zerg/s.grp"); },
         extractArgs, 0, [](auto& f) { return f.out + "/unit/zerg/s.grp\n"; }, {"unit/", "unit/zerg/", "unit/zerg/s.grp"}},
        {"LinkedFolderLevel", [](auto& f) { link("../elsewhere", f.out + "/unit"); }, extractArgs, 1,
         [](auto& f) { return f.entry + ": " + f.out + "/unit is a link: Pixmorph writes nothing through a link.\n"; }},
        {"FolderAtTheSecondBitmap", [](auto& f) { writeFile(f.out + "/s000.bmp", std::string("earlier")); fs::create_directory(f.out + "/s001.bmp"); },
         exportArgs, 1, [](auto& f) { return "Access to " + f.out + "/s001.bmp was denied.\n"; }},
        {"ReadOnlyFileAtTheSecondBitmap", [](auto& f) {
             fs::permissions(f.out, fs::perms::all);
             writeFile(f.out + "/s000.bmp", std::string("earlier"));
             writeFile(f.out + "/s001.bmp", std::string("earlier"));
             fs::permissions(f.out + "/s000.bmp", fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec));
             fs::permissions(f.out + "/s001.bmp", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read); },
         exportArgs, 1, [](auto& f) { return "Access to " + f.out + "/s001.bmp was denied.\n"; }, {}, {.asUnprivilegedUser = true}},
        {"FifoAsTheSprite", [](auto& f) { ::mkfifo((f.in + "/f.grp").c_str(), 0644); },
         [](auto& f) { return std::vector<std::string>{"export", "--output-dir", f.out, f.in + "/f.grp"}; }, 1,
         [](auto& f) { return notRegular(f.in + "/f.grp"); }, {}, {.wallSecondsLimit = 30}},
        {"FifoInTheList", [](auto& f) { ::mkfifo((f.in + "/f.bmp").c_str(), 0644); writeFile(f.in + "/f.qbl", std::string("s.grp\r\ns000.bmp\r\nf.bmp\r\n")); },
         [](auto& f) { return std::vector<std::string>{"compile", "--output-dir", f.out, f.in + "/f.qbl"}; }, 1,
         [](auto& f) { return notRegular(f.in + "/f.bmp"); }, {}, {.wallSecondsLimit = 30}},
        {"DeviceBehindALink", [](auto& f) { link("/dev/zero", f.in + "/d.grp"); },
         [](auto& f) { return std::vector<std::string>{"export", "--output-dir", f.out, f.in + "/d.grp"}; }, 1,
         [](auto& f) { return notRegular(f.in + "/d.grp"); }, {}, {.wallSecondsLimit = 30}},
        {"TemporaryFilesOfAKilledAndARunningRun", [=](auto& f) { writeFile(f.out + "/" + dead, std::string("x")); writeFile(f.out + "/" + live, std::string("x")); },
         exportArgs, 0, none, {"s000.bmp", "s001.bmp", "s.qbl", live}},
    };
    // clang-format on
}

TEST(HostileFolders, RedirectNothingAndAFailureChangesNothing) {
    for (const HostileCase& c : hostileCases()) {
        SCOPED_TRACE(c.name);
        Folders f;
        c.plant(f);
        const FolderSnapshot before = testing::snapshotOf(f.root.path());
        const test::CliRun run = test::runCli(c.args(f), c.options);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err << " signal " << run.signal;
        EXPECT_EQ(run.err + (c.exitCode == 0 ? run.out : ""), c.line(f));
        const FolderSnapshot after = testing::snapshotOf(f.root.path());
        if (c.exitCode != 0) {
            EXPECT_EQ(after, before);
        } else {
            EXPECT_EQ(outsideOf(after, "out"), outsideOf(before, "out"));
            EXPECT_EQ(listingOf(f.out), c.outAfter);
        }
    }
}

// Killed at any moment, an export leaves no temporary file once a later run is done.
TEST(HostileFolders, AKilledExportLeavesNothingAfterTheNextRun) {
    Folders f;
    std::vector<std::string> args{"export", "--output-dir", f.out};
    for (int i = 0; i < 6; ++i) {
        const std::string sprite = f.in + "/k" + std::to_string(i) + ".grp";
        writeFile(sprite, testing::makeSprite(i, 96, 96, testing::Repeats(100)));
        args.push_back(sprite);
    }
    for (const int afterMs : {5, 40, 150}) {
        const pid_t child = test::startCli(test::builtProgram(), args, [] {});
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        EXPECT_EQ(test::runCli(args).exitCode, 0);
        for (const std::string& name : listingOf(f.out))
            EXPECT_FALSE(name.ends_with(".tmp")) << name << " after " << afterMs << " ms";
    }
    EXPECT_EQ(listingOf(f.out).size(), 6u * 101);
}

// A file system of 2 MiB of its own (a private mount, where the system allows one): a sprite
// whose bitmaps may need more is refused before anything is written; one that fits is not.
TEST(HostileFolders, AnExportThatMayNotFitIsRefusedBeforeWriting) {
    Folders f;
    writeFile(f.in + "/big.grp", testing::makeSprite(3, 256, 256, testing::Repeats(40)));
    const std::string script =
        "dir=$1; mount -t tmpfs -o size=2m tmpfs \"$dir\" || exit 77; shift; \"$@\"; code=$?; "
        "ls -A \"$dir\" >&2; exit $code";
    const std::string program = test::builtProgram();
    const auto runMounted = [&](const std::string& sprite) {
        const std::string command = "unshare -rm sh -c '" + script + "' sh '" + f.out + "' '" +
                                    program + "' export --output-dir '" + f.out + "' '" + sprite +
                                    "' 2>&1";
        std::string said;
        FILE* pipe = ::popen(command.c_str(), "r");
        char chunk[512];
        while (pipe && std::fgets(chunk, sizeof chunk, pipe))
            said += chunk;
        const int status = pipe ? ::pclose(pipe) : -1;
        return std::pair{WIFEXITED(status) ? WEXITSTATUS(status) : -1, said};
    };
    const auto [code, said] = runMounted(f.in + "/big.grp");
    if (code == 77 || code == 127 || said.starts_with("unshare:"))
        GTEST_SKIP() << "no private mount here: " << said;
    EXPECT_EQ(code, 1);
    EXPECT_EQ(said, f.in + "/big.grp needs up to 6 MB in " + f.out +
                        ", which has 2 MB free. Nothing was written.\n");
    const auto [fitted, listed] = runMounted(f.in + "/s.grp");
    EXPECT_EQ(fitted, 0) << listed;
    EXPECT_EQ(listed, "s.qbl\ns000.bmp\ns001.bmp\n");
}

} // namespace
} // namespace pixmorph
