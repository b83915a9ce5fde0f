// Locate Archive and the archive pick against a recording window, over archives made here.

#include "app/archive_commands.h"
#include "app/control_ids.h"
#include "app/converter_state.h"
#include "app/main_window.h"
#include "archive/archive_library.h"
#include "fakes.h"
#include "support/fake_archive_backend.h"
#include "support/mpq_test_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;

class ArchiveCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(writeArchive(archive_, {{"unit\\zerg\\zergling.grp", zergling_, kPkware},
                                            {"unit\\terran\\marine.grp", marine_, kImplode},
                                            {"sound\\zerg\\hit.wav", marine_, kPkware}}));
        writeFile(state_.fileListPath, std::string("unit\\zerg\\zergling.grp\r\n"
                                                   "unit\\terran\\marine.grp\r\n"
                                                   "sound\\zerg\\hit.wav\r\n"));
        std::filesystem::create_directory(state_.outputDir);
        window_.listItems = {"left over"};
    }

    // Locate Archive with the picker answering path.
    void locateWith(const std::string& path) {
        window_.pickerAnswers = {path};
        locateArchive(state_, window_, library_);
    }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : window_.messages)
            texts.push_back(message.text);
        return texts;
    }

    ScratchDir dir_;
    std::string archive_ = dir_.file("StarDat.MpQ");
    ByteVector zergling_ = makeSprite(1, 40, 30, {std::nullopt, std::nullopt});
    ByteVector marine_ = makeSprite(2, 20, 20, {std::nullopt});
    ConverterState state_ = [this] {
        ConverterState state;
        state.fileListPath = dir_.file("sc_data.txt");
        state.outputDir = dir_.file("out");
        return state;
    }();
    RecordingWindow window_;
    ArchiveLibrary library_{makeStormBackend()};
};

TEST_F(ArchiveCommands, LocateArchiveChecksTheNameThenOpens) {
    struct Case {
        std::string chosen;
        std::string message;
        std::string archivePathAfter;
    };
    const std::string notMpq = "This is not an MPQ file\nplease try again";
    const std::string missing = dir_.file("missing.mpq");
    const Case cases[] = {
        {"", notMpq, ""},                                   // cancelled
        {dir_.file("stardat.mpx"), notMpq, ""},             // wrong name
        {"/" + std::string(509, 'x') + ".mpq", notMpq, ""}, // too long for its field
        {missing, "Errrrrror", missing},                    // the library cannot open it
    };
    for (const auto& c : cases) {
        window_.messages.clear();
        window_.listItems = {"left over"};
        state_.archivePath = "/stored/StarDat.mpq";
        locateWith(c.chosen);
        ASSERT_EQ(messageTexts(), std::vector<std::string>{c.message}) << c.chosen;
        EXPECT_EQ(window_.messages[0].icon, MessageIcon::exclamation);
        EXPECT_TRUE(window_.listItems.empty()) << c.chosen;
        EXPECT_FALSE(state_.useStoredArchive);
        EXPECT_EQ(state_.archivePath, c.archivePathAfter);
    }
    EXPECT_EQ(window_.pickerTitles.back(), "Locate StarDat.MPQ (in StarCraft Directory)");

    // Any case of "mpq" passes; the list is filled sorted and its first entry selected.
    window_.messages.clear();
    locateWith(archive_);
    EXPECT_TRUE(window_.messages.empty());
    EXPECT_EQ(window_.listItems,
              (std::vector<std::string>{"unit\\terran\\marine.grp", "unit\\zerg\\zergling.grp"}));
    EXPECT_EQ(window_.selectedListText(), "unit\\terran\\marine.grp");
    EXPECT_EQ(state_.archivePath, archive_);
    EXPECT_FALSE(state_.useStoredArchive);
}

TEST_F(ArchiveCommands, TheStoredArchiveOpensWithoutAskingOrTestingItsName) {
    const std::string renamed = dir_.file("game.data");
    std::filesystem::copy_file(archive_, renamed);
    state_.archivePath = renamed;
    state_.useStoredArchive = true;
    locateArchive(state_, window_, library_);
    EXPECT_TRUE(window_.pickerTitles.empty());
    EXPECT_TRUE(window_.messages.empty());
    EXPECT_EQ(window_.listItems.size(), 2u);
    EXPECT_FALSE(state_.useStoredArchive);

    // A library that could not be bound fails every opening.
    ArchiveLibrary unbound(nullptr);
    state_.useStoredArchive = true;
    locateArchive(state_, window_, unbound);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Errrrrror"});
    EXPECT_TRUE(window_.listItems.empty());
    EXPECT_EQ(state_.archivePath, renamed);
    EXPECT_FALSE(state_.useStoredArchive);
}

TEST_F(ArchiveCommands, StartUpOpensTheStoredArchiveUnlessRestricted) {
    for (const std::string startupFile : {"temp.grp", "Temp.grp", ""}) {
        auto fake = std::make_shared<FakeArchiveState>();
        ArchiveLibrary library(makeFakeBackend(fake));
        ConverterState state;
        state.fileListPath = state_.fileListPath;
        state.archivePath = "/games/StarDat.mpq";
        state.startupFile = startupFile;
        RecordingWindow window;
        std::vector<std::string> log;
        RecordingAssociation association(log);
        MainWindowLogic(state, window, library, association, "/usr/bin/pixmorph").initialise();
        const bool restricted = startupFile == "temp.grp";
        EXPECT_EQ(fake->openedPath, restricted ? "" : "/games/StarDat.mpq") << startupFile;
        EXPECT_TRUE(window.pickerTitles.empty());
        EXPECT_FALSE(state.useStoredArchive);
    }
}

TEST_F(ArchiveCommands, PickingAnEntryAsksThenSavesAndShowsItFromFrameZero) {
    locateWith(archive_);
    window_.selected = 1; // unit\zerg\zergling.grp
    state_.currentFrame = 5;
    const std::string outputDir = state_.outputDir;

    state_.flatNameFormat = false;
    extractChosenFile(state_, window_, library_);
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_EQ(window_.messages[0].text, "Save File:\nunit\\zerg\\zergling.grp\n\nIn directory:\n" +
                                            outputDir + "\n\nUsing subdirectory format?");
    const std::string nested = outputDir + "/unit/zerg/zergling.grp";
    EXPECT_EQ(readFile(nested), zergling_);
    EXPECT_EQ(state_.outputDir, outputDir);
    EXPECT_EQ(state_.grpNameText, nested);
    EXPECT_EQ(window_.texts[ids::kGrpName], nested);
    EXPECT_TRUE(state_.grpSelected);
    EXPECT_EQ(state_.currentFrame, 0);
    EXPECT_EQ(state_.frameCount, 2) << "the written file was loaded";
    EXPECT_FALSE(state_.clearPreview) << "the preview was cleared and drawn";
    EXPECT_FALSE(window_.surface.stretches.empty());

    window_.messages.clear();
    state_.flatNameFormat = true;
    extractChosenFile(state_, window_, library_);
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_EQ(window_.messages[0].text, "Save File:\nunit\\zerg\\zergling.grp\n\nIn directory:\n" +
                                            outputDir +
                                            "\n\nUsing 'unit_zerg_zergling.grp' format?");
    EXPECT_EQ(state_.grpNameText, outputDir + "/unit_zerg_zergling.grp");
    EXPECT_EQ(readFile(state_.grpNameText), zergling_);
    EXPECT_EQ(state_.outputDir, outputDir);
}

// Refused names and failed reads are in the malformed-input suite.
TEST_F(ArchiveCommands, ANoOrAnEmptyListWritesNothing) {
    locateWith(archive_);
    const auto before = snapshotOf(dir_.path());
    for (const bool emptyList : {false, true}) {
        if (emptyList)
            window_.listItems.clear();
        window_.messages.clear();
        window_.answer = MessageAnswer::no;
        extractChosenFile(state_, window_, library_);
        EXPECT_EQ(window_.messages.size(), emptyList ? 0u : 1u);
    }
    EXPECT_EQ(snapshotOf(dir_.path()), before);
    EXPECT_EQ(state_.grpNameText, "");
    EXPECT_TRUE(window_.surface.events.empty());
}

} // namespace
} // namespace pixmorph
