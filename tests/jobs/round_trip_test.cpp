// A sprite exported with its repeats and compiled back is the same file, byte for byte.
#include "core/palette.h"
#include "jobs/compile_job.h"
#include "jobs/export_job.h"
#include "jobs/recording_view.h"
#include "support/job_files.h"

#include <gtest/gtest.h>

namespace pixmorph {
namespace {

using namespace testing;

// Exports name.grp (frames with their own data only) and compiles its list back.
ByteVector exportAndCompile(const ScratchDir& dir, const std::string& name) {
    RecordingView exportView(ExportMode::unique), compileView;
    EXPECT_EQ(RunExport(exportView, {dir.file(name + ".grp"), "", Palette()}),
              JobOutcome::finished);
    EXPECT_EQ(compileSprite(compileView, {dir.file(name + ".qbl"), "", Palette()}),
              JobOutcome::finished);
    EXPECT_EQ(exportView.messages.size() + compileView.messages.size(), 0u);
    return readFile(dir.file("x_" + name + ".grp"));
}

TEST(RoundTrip, SpritesOfOurWriter) {
    struct Shape {
        int width, height;
        Repeats repeats;
    };
    std::vector<Shape> shapes;
    for (const int size : {1, 2, 255, 256}) {
        const Repeats repeats{std::nullopt, std::nullopt, 1, std::nullopt, 0};
        shapes.push_back({size, 17, repeats});
        shapes.push_back({17, size, repeats});
    }
    std::mt19937 rng(42); // seeded random shapes with random repeats
    auto pick = [&rng](int low, int high) { return std::uniform_int_distribution(low, high)(rng); };
    for (int n = 0; n < 16; ++n) {
        Shape shape{pick(1, 256), pick(1, 256), Repeats(pick(1, 12))};
        for (std::size_t i = 1; i < shape.repeats.size(); ++i)
            if (pick(0, 3) == 0 && !shape.repeats[i - 1])
                shape.repeats[i] = i - 1;
        shapes.push_back(shape);
    }
    Repeats many(1003); // frame numbers past three digits
    many[1001] = 1000;
    many[1002] = 7;
    shapes.push_back({6, 4, many});

    for (std::size_t n = 0; n < shapes.size(); ++n) {
        const Shape& shape = shapes[n];
        SCOPED_TRACE(std::to_string(shape.width) + " x " + std::to_string(shape.height) + ", " +
                     std::to_string(shape.repeats.size()) + " frames");
        ScratchDir dir;
        const ByteVector sprite =
            makeSprite(static_cast<std::uint32_t>(n), shape.width, shape.height, shape.repeats);
        writeFile(dir.file("s.grp"), sprite);
        EXPECT_EQ(exportAndCompile(dir, "s"), sprite);
    }
}

// Samples made by other tools: every palette reads as raw colours (Units.pal is the built-in
// one), and every sprite's pixels come back through export and compile, though its bytes
// differ. The uncompressed variant (icons) may be refused, but the jobs end.
TEST(RoundTrip, RealSamples) {
    std::filesystem::path samples = PIXMORPH_SOURCE_DIR "/../shared/real-samples";
    if (!std::filesystem::is_directory(samples))
        samples = PIXMORPH_SOURCE_DIR "/../../shared/real-samples"; // from a worktree
    if (!std::filesystem::is_directory(samples))
        GTEST_SKIP() << "no real samples";
    for (const auto& file : std::filesystem::directory_iterator(samples)) {
        const std::string name = file.path().stem();
        SCOPED_TRACE(file.path().filename());
        const ByteVector original = readFile(file.path());
        if (file.path().extension() == ".pal") {
            const PaletteFile palette = parsePaletteFile(original);
            EXPECT_EQ(palette.kind, PaletteFileKind::raw);
            if (name == "Units") {
                EXPECT_EQ(palette.palette, DefaultPalette);
            }
            continue;
        }
        if (file.path().extension() != ".grp")
            continue;
        ScratchDir dir;
        writeFile(dir.file(name + ".grp"), original);
        if (name == "icons") {
            RecordingView view(ExportMode::unique);
            RunExport(view, {dir.file("icons.grp"), "", Palette()});
            continue;
        }
        const ByteVector compiled = exportAndCompile(dir, name);
        const SpriteHeader header = readSpriteHeader(original).value();
        ASSERT_EQ(readSpriteHeader(compiled), header);
        FrameCanvas before, after;
        for (std::size_t i = 0; i < header.frameCount; ++i) {
            decodeFrame(original, *readFrameEntry(original, i), before);
            decodeFrame(compiled, *readFrameEntry(compiled, i), after);
            for (int x = 0; x < header.width; ++x)
                for (int y = 0; y < header.height; ++y)
                    ASSERT_EQ(before.at(x, y), after.at(x, y)) << i << ": " << x << "," << y;
        }
    }
}

} // namespace
} // namespace pixmorph
