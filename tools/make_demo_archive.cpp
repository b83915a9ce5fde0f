// Packs the demo sprites into a game-style archive and writes the name list that finds them:
//   make_demo_archive FOLDER SPRITE...
// FOLDER/demo.mpq: a version 1 archive without a name list of its own, each sprite stored as
// unit\demo\<file name>, PKWARE-compressed and encrypted with the adjusted key as the game
// stores its sprites, and a short sound as sound\demo\ping.wav.
// FOLDER/sc_data.txt: the stored names with CR LF ends, plus one name the archive lacks.
#include "core/bytes.h"
#include "core/file_io.h"

#include <StormLib.h>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

using namespace pixmorph;
namespace fs = std::filesystem;

namespace {

constexpr DWORD kSpriteFlags = MPQ_FILE_COMPRESS | MPQ_FILE_ENCRYPTED | MPQ_FILE_FIX_KEY;
constexpr char kSoundName[] = "sound\\demo\\ping.wav";
constexpr char kMissingName[] = "unit\\demo\\missing.grp";

// A tenth of a second of a fading 880 Hz tone: 8-bit mono PCM at 22050 Hz.
ByteVector pingSound() {
    constexpr std::uint32_t rate = 22050;
    constexpr std::uint32_t samples = rate / 10;
    ByteVector wav;
    const auto text = [&wav](std::string_view s) { wav.insert(wav.end(), s.begin(), s.end()); };
    text("RIFF");
    appendU32(wav, 36 + samples);
    text("WAVEfmt ");
    appendU32(wav, 16);
    appendU16(wav, 1); // PCM
    appendU16(wav, 1); // mono
    appendU32(wav, rate);
    appendU32(wav, rate); // bytes per second
    appendU16(wav, 1);    // bytes per sample
    appendU16(wav, 8);    // bits per sample
    text("data");
    appendU32(wav, samples);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double fade = 1.0 - static_cast<double>(i) / samples;
        const double wave = std::sin(2 * std::numbers::pi * 880 * i / rate);
        wav.push_back(static_cast<std::uint8_t>(128 + std::lround(100 * fade * wave)));
    }
    return wav;
}

bool addFromMemory(HANDLE mpq, const char* name, const ByteVector& data) {
    HANDLE file = nullptr;
    const auto size = static_cast<DWORD>(data.size());
    return SFileCreateFile(mpq, name, 0, size, 0, kSpriteFlags, &file) &&
           SFileWriteFile(file, data.data(), size, MPQ_COMPRESSION_PKWARE) && SFileFinishFile(file);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make_demo_archive FOLDER SPRITE...\n";
        return 2;
    }
    const fs::path folder = argv[1];
    const fs::path archive = folder / "demo.mpq";
    // Built beside the target and renamed, so an interrupted build leaves no half archive.
    const fs::path building = folder / "demo.mpq.building";
    fs::remove(building);

    HANDLE mpq = nullptr;
    if (!SFileCreateArchive(building.c_str(), MPQ_CREATE_ARCHIVE_V1, 16, &mpq)) {
        std::cerr << building.string() << ": cannot create the archive\n";
        return 1;
    }
    std::string list;
    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        const std::string name = "unit\\demo\\" + fs::path(argv[i]).filename().string();
        if (!SFileAddFileEx(mpq, argv[i], name.c_str(), kSpriteFlags, MPQ_COMPRESSION_PKWARE,
                            MPQ_COMPRESSION_NEXT_SAME)) {
            std::cerr << argv[i] << ": cannot add it to the archive\n";
            ok = false;
        }
        list += name + "\r\n";
    }
    if (!addFromMemory(mpq, kSoundName, pingSound())) {
        std::cerr << kSoundName << ": cannot add it to the archive\n";
        ok = false;
    }
    list += std::string(kSoundName) + "\r\n" + kMissingName + "\r\n";
    ok = SFileCloseArchive(mpq) && ok;
    if (!ok) {
        fs::remove(building);
        return 1;
    }
    fs::rename(building, archive);

    const std::string listPath = (folder / "sc_data.txt").string();
    const FileErrorCause cause = writeFileAtomically(
        listPath, Bytes(reinterpret_cast<const std::uint8_t*>(list.data()), list.size()));
    if (cause != FileErrorCause::none) {
        std::cerr << fileErrorMessage(cause, listPath) << '\n';
        return 1;
    }
    return 0;
}
