#include "jobs/gif_animation.h"

#include "core/file_io.h"
#include "core/messages.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gif_lib.h>

namespace pixmorph {
namespace {

int appendBytes(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<ByteVector*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

class GifAnimation final : public FrameGathering {
public:
    explicit GifAnimation(const GifPlan& plan) : plan_(plan), row_(plan.width) {
        int error = 0;
        gif_ = EGifOpen(&bytes_, appendBytes, &error);
        ColorMapObject* colours = GifMakeMapObject(256, nullptr);
        if (!gif_ || !colours) {
            failed_ = true;
            GifFreeMapObject(colours);
            return;
        }
        for (int i = 0; i < 256; ++i) {
            const std::uint32_t colour = plan.palette.entries[static_cast<std::size_t>(i)];
            colours->Colors[i] = {Palette::red(colour), Palette::green(colour),
                                  Palette::blue(colour)};
        }
        EGifSetGifVersion(gif_, true);
        failed_ = EGifPutScreenDesc(gif_, plan.width, plan.height, 8, 0, colours) == GIF_ERROR ||
                  !putLoopForever();
        GifFreeMapObject(colours); // the screen keeps a copy
    }
    ~GifAnimation() override {
        if (gif_)
            EGifCloseFile(gif_, nullptr);
    }

    void add(std::size_t, std::optional<std::size_t>, const ExportCanvas& canvas) override {
        if (failed_)
            return;
        GraphicsControlBlock control{};
        // Each frame replaces the last wholly; its index 0 shows what lies behind the GIF.
        control.DisposalMode = DISPOSE_BACKGROUND;
        control.DelayTime = static_cast<int>(std::lround(100.0 / plan_.fps));
        control.TransparentColor = 0;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        failed_ =
            EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR ||
            EGifPutImageDesc(gif_, 0, 0, plan_.width, plan_.height, false, nullptr) == GIF_ERROR;
        // Picture row t is canvas row t + 1, as in the frame's bitmap.
        for (int y = 0; y < plan_.height && !failed_; ++y) {
            std::memcpy(row_.data(), canvas.row(y + 1), row_.size());
            failed_ = EGifPutLine(gif_, row_.data(), plan_.width) == GIF_ERROR;
        }
        // What the program writes it must be able to read.
        tooLarge_ = bytes_.size() > kMaxWholeFileSize;
        failed_ = failed_ || tooLarge_;
    }

    std::string refusal() const override {
        if (tooLarge_)
            return fillIn(msg::kAnimationTooLarge, {plan_.path});
        return failed_ ? fillIn(msg::kAnimationNotWritten, {plan_.path}) : std::string();
    }

    std::vector<OutputFile> finish() override {
        int error = 0;
        if (!failed_ && EGifCloseFile(gif_, &error) == GIF_ERROR)
            failed_ = true;
        gif_ = nullptr;
        if (failed_)
            return {};
        return {{plan_.path, std::move(bytes_)}};
    }

private:
    bool putLoopForever() {
        static const GifByteType kNetscape[] = "NETSCAPE2.0";
        static const GifByteType kLoops[] = {1, 0, 0}; // sub-block 1, 0 repeats: forever
        return EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
               EGifPutExtensionBlock(gif_, 11, kNetscape) != GIF_ERROR &&
               EGifPutExtensionBlock(gif_, 3, kLoops) != GIF_ERROR &&
               EGifPutExtensionTrailer(gif_) != GIF_ERROR;
    }

    GifPlan plan_;
    ByteVector bytes_;
    std::vector<GifPixelType> row_;
    GifFileType* gif_ = nullptr;
    bool failed_ = false;
    bool tooLarge_ = false;
};

} // namespace

std::unique_ptr<FrameGathering> makeGifAnimation(const GifPlan& plan) {
    return std::make_unique<GifAnimation>(plan);
}

} // namespace pixmorph
