#include "app/control_ids.h"
#include "app/file_association.h"
#include "archive/archive_library.h"
#include "core/file_io.h"
#include "core/grp_format.h"
#include "core/palette.h"
#include "core/preview.h"
#include "scripted_services.h"
#include "ui/main_window.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace pixmorph::ui {
namespace {

namespace fs = std::filesystem;

class RecordingAssociation : public FileAssociationSink {
public:
    void registerFileType(const FileAssociation& association) override {
        programPaths.push_back(association.programPath);
    }
    std::vector<std::string> programPaths;
};

// Three frames of 10 x 8, each one colour: palette entries 10, 20 and 30.
void writeSprite(const fs::path& path) {
    SpriteWriter writer(3);
    for (int frame = 0; frame < 3; ++frame) {
        IndexImage image;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                image.set(x, y, static_cast<std::uint32_t>(10 * (frame + 1)));
        ASSERT_EQ(writer.addFrame(image, 10, 8), GrpWriteError::none);
    }
    const ByteVector bytes = writer.finish();
    ASSERT_EQ(writeFileAtomically(path.string(), bytes), FileErrorCause::none);
}

QRgb colourOf(int paletteIndex) {
    const std::uint32_t c = DefaultPalette.entries[static_cast<std::size_t>(paletteIndex)];
    return qRgb(Palette::red(c), Palette::green(c), Palette::blue(c));
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        root_ = fs::path(folder_.path().toStdString());
        sprite_ = root_ / "sprite.grp";
        writeSprite(sprite_);
        fs::create_directories(root_ / "out");
        state_ = std::make_unique<ConverterState>();
        state_->fileListPath = (root_ / "sc_data.txt").string();
        state_->outputDir = state_->outputDirText = (root_ / "out").string();
    }

    MainWindow& window() {
        if (!window_)
            window_ = std::make_unique<MainWindow>(*state_, archive_, association_,
                                                   "/opt/pixmorph/Pixmorph", services_);
        return *window_;
    }
    QString text(int id) { return window().control<QLineEdit>(id)->text(); }
    void click(int id) { window().control<QAbstractButton>(id)->click(); }
    void showAndSettle() {
        window().show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    QTemporaryDir folder_;
    fs::path root_;
    fs::path sprite_;
    std::unique_ptr<ConverterState> state_;
    ArchiveLibrary archive_{nullptr};
    RecordingAssociation association_;
    ScriptedServices services_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, FirstPaintShowsTheStartupFileAfterTheSplash) {
    state_->startupFile = sprite_.string();
    window().logic().initialise();
    EXPECT_EQ(services_.windows, std::vector<std::string>{"splash"});
    EXPECT_EQ(text(ids::kPaletteName), QStringLiteral("-=Default=-"));
    EXPECT_TRUE(association_.programPaths.empty()) << "not a first run";

    showAndSettle();
    EXPECT_EQ(text(ids::kGrpName), QString::fromStdString(sprite_.string()));
    EXPECT_EQ(text(ids::kFrameCount), QStringLiteral("3"));
    EXPECT_EQ(text(ids::kWidth), QStringLiteral("10"));
    EXPECT_EQ(text(ids::kFrameNumber), QStringLiteral("0"));

    // The frame at its own size in the box's corner, the rest of the box black; it stays there
    // when the window is painted again.
    window().repaint();
    const QImage shown = window().grab().toImage();
    EXPECT_EQ(shown.pixel(kPreviewLeft, kPreviewTop), colourOf(10));
    EXPECT_EQ(shown.pixel(kPreviewLeft + 9, kPreviewTop + 7), colourOf(10));
    EXPECT_EQ(shown.pixel(kPreviewLeft + 40, kPreviewTop + 40), qRgb(0, 0, 0));
    EXPECT_TRUE(services_.messages.empty());
}

TEST_F(MainWindowTest, ButtonsAndScaleReachTheLogic) {
    window().logic().initialise();
    showAndSettle();
    services_.filePicks = {sprite_.string()};
    click(ids::kLoadExternalFile);
    EXPECT_EQ(services_.pickerTitles.back(), "Select File");
    EXPECT_EQ(text(ids::kFrameCount), QStringLiteral("3"));

    click(ids::kNextFrame);
    click(ids::kNextFrame);
    EXPECT_EQ(text(ids::kFrameNumber), QStringLiteral("2"));
    EXPECT_FALSE(window().control(ids::kNextFrame)->isEnabled());
    EXPECT_EQ(window().previewLayer().image().pixel(0, 0), colourOf(30));

    // The frame's box is 10 x 9 (its closing transparent row included); scaled, it grows until
    // it meets the preview box's right edge: 148 x 133.
    click(ids::kScale);
    EXPECT_TRUE(state_->scale);
    const QImage& layer = window().previewLayer().image();
    EXPECT_EQ(layer.pixel(147, 117), colourOf(30));
    EXPECT_EQ(layer.pixel(147, 125), colourOf(0));
    EXPECT_EQ(layer.pixel(147, 140), qRgb(0, 0, 0));

    services_.folderPick = std::nullopt;
    click(ids::kSetOutputDirectory);
    EXPECT_EQ(services_.pickerTitles.back(), "Set Output directory");
    EXPECT_EQ(text(ids::kOutputDir), QString::fromStdString((root_ / "out").string()));
}

TEST_F(MainWindowTest, EnterAcceptsAndEscapeCancels) {
    window().logic().initialise();
    showAndSettle();
    auto* scale = window().control<QCheckBox>(ids::kScale);
    scale->setChecked(true); // ticked without the click handler: Enter's read picks it up
    scale->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&window(), &enter);
    EXPECT_EQ(window().result(), QDialog::Accepted);
    EXPECT_TRUE(state_->scale);

    window_.reset();
    showAndSettle();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window(), &escape);
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().result(), QDialog::Rejected);
}

TEST_F(MainWindowTest, AnExportAndACompileClickedThrough) {
    window().logic().initialise();
    showAndSettle();
    services_.filePicks = {sprite_.string()};
    click(ids::kLoadExternalFile);

    click(ids::kWriteOutBmps);
    EXPECT_EQ(services_.windows, (std::vector<std::string>{"splash", "job", "choice"}));
    ASSERT_EQ(services_.jobs.size(), 1u);
    EXPECT_EQ(services_.jobs[0].status, "Finished");
    EXPECT_TRUE(services_.jobs[0].okEnabled);
    EXPECT_EQ(services_.jobs[0].clipFrame, 17);
    EXPECT_FALSE(services_.jobs[0].clipPlaying);
    for (const char* name : {"sprite000.bmp", "sprite001.bmp", "sprite002.bmp", "sprite.qbl"})
        EXPECT_TRUE(fs::exists(root_ / "out" / name)) << name;

    services_.filePicks = {(root_ / "out" / "sprite.qbl").string()};
    click(ids::kCompileToGrp);
    EXPECT_EQ(services_.pickerTitles.back(), "Locate QBL File");
    ASSERT_EQ(services_.jobs.size(), 2u);
    EXPECT_EQ(services_.jobs[1].status, "Finished.");
    EXPECT_TRUE(services_.jobs[1].okEnabled);
    EXPECT_TRUE(fs::exists(root_ / "out" / "x_sprite.grp"));
    EXPECT_TRUE(services_.messages.empty());
}

} // namespace
} // namespace pixmorph::ui
