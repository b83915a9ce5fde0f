#include "app/archive_commands.h"
#include "app/control_ids.h"
#include "app/converter_state.h"
#include "archive/archive_library.h"
#include "fakes.h"
#include "support/mpq_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;

// Locate Archive checks the name, then opens or empties the list, through the stored name list
// or, when none stands there, the shipped one; the pick asks, then saves and shows the entry
// from frame 0, or writes nothing.
TEST(ArchiveCommands, LocateThenPickAnEntry) {
    ScratchDir dir;
    const std::string archive = dir.file("StarDat.MpQ"); // any case of "mpq" passes
    const ByteVector grp = makeSprite(1, 40, 30, {std::nullopt, std::nullopt});
    ASSERT_TRUE(writeArchive(archive, {{"unit\\zerg\\zergling.grp", grp, kPkware},
                                       {"unit\\terran\\marine.grp", grp, kPkware},
                                       {"sound\\zerg\\hit.wav", grp, kImplode}}));
    ConverterState state;
    state.locations.fileListPath =
        dir.write("sc_data.txt", std::string("unit\\zerg\\zergling.grp\r\n"
                                             "sound\\zerg\\hit.wav\r\n"));
    state.locations.outputDir = dir.path();
    RecordingWindow window;
    ArchiveLibrary library{makeStormBackend()};
    window.pickerAnswer = dir.file("stardat.mpx");
    locateArchive(state, ArchiveSource::picker, window, window, window, library);
    ASSERT_EQ(window.messages.size(), 1u) << "only a name ending in .mpq is opened";
    window.messages.clear();
    window.listItems = {"left over"};
    window.pickerAnswer = archive;
    locateArchive(state, ArchiveSource::picker, window, window, window, library);
    EXPECT_TRUE(window.messages.empty()); // failed openings: the malformed-input suite
    EXPECT_EQ(window.listItems, std::vector<std::string>{"unit\\zerg\\zergling.grp"});

    const auto before = snapshotOf(dir.path());
    window.answer = MessageAnswer::no;
    extractChosenFile(state, window, window.frameWindow(), library);
    EXPECT_EQ(snapshotOf(dir.path()), before);

    window.messages.clear();
    window.answer = MessageAnswer::yes;
    state.fields.flatNameFormat = true;
    state.shown.currentFrame = 5;
    extractChosenFile(state, window, window.frameWindow(), library);
    const std::string saved = dir.file("unit_zerg_zergling.grp");
    EXPECT_EQ(window.messages.size(), 1u) << "asked before saving";
    EXPECT_EQ(readFile(saved), grp);
    EXPECT_EQ(window.texts[ids::kGrpName], saved);
    EXPECT_EQ(state.shown.currentFrame, 0);
    EXPECT_EQ(state.shown.frameCount, 2) << "the written file was loaded";

    std::filesystem::remove(state.locations.fileListPath);
    locateArchive(state, ArchiveSource::stored, window, window, window, library);
    EXPECT_EQ(window.listItems,
              (std::vector<std::string>{"unit\\terran\\marine.grp", "unit\\zerg\\zergling.grp"}));
}

} // namespace
} // namespace pixmorph
