#include "cli/terminal_text.h"

#include <cstdint>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#else
#include <unistd.h>
#endif

namespace pixmorph::cli {

namespace {

bool isControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// The length of the valid UTF-8 sequence at the start of text, or 0 when it is not one
// (overlong forms and surrogates included).
std::size_t utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

void appendEscaped(std::string& out, unsigned char byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

} // namespace

std::string escapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            if (isControl(byte))
                appendEscaped(out, byte);
            else
                out += text[at];
            ++at;
            continue;
        }
        const std::size_t length = utf8Length(text.substr(at));
        // U+0080 to U+009F, the C1 controls (CSI among them), are C2 80 to C2 9F.
        const bool c1Control =
            length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) <= 0x9F;
        if (length == 0 || c1Control) {
            const std::size_t escaped = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < escaped; ++i)
                appendEscaped(out, static_cast<unsigned char>(text[at + i]));
            at += escaped;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

bool namesFile(std::string_view message, std::string_view file) {
    if (file.empty() || file.size() > message.size())
        return false;
    const auto same = [](char inMessage, char inName) {
        return inMessage == inName ||
               (inMessage == '?' && isControl(static_cast<unsigned char>(inName)));
    };
    // The name stands alone: not part of a longer name ("a.grp" in "Access to out/a.grp000.bmp").
    const auto startsWord = [&](std::size_t at) {
        return at == 0 || message[at - 1] == ' ' || message[at - 1] == '\n';
    };
    const auto endsWord = [&](std::size_t end) {
        const auto after = [&](std::size_t i) { return i < message.size() ? message[i] : ' '; };
        const char next = after(end);
        return next == ' ' || next == '\n' || next == ':' || next == ',' || next == ';' ||
               (next == '.' && (after(end + 1) == ' ' || after(end + 1) == '\n'));
    };
    for (std::size_t at = 0; at + file.size() <= message.size(); ++at) {
        std::size_t k = 0;
        while (k < file.size() && same(message[at + k], file[k]))
            ++k;
        if (k == file.size() && startsWord(at) && endsWord(at + k))
            return true;
    }
    return false;
}

bool isTerminal(int descriptor) {
#ifdef __EMSCRIPTEN__
    // Under Node the C library takes every standard stream for a terminal, piped or not; Node
    // itself knows. A page has no terminal (nor require).
    const std::string ask = "typeof require === 'function' && require('tty').isatty(" +
                            std::to_string(descriptor) + ") ? 1 : 0";
    return emscripten_run_script_int(ask.c_str()) != 0;
#else
    return isatty(descriptor) != 0;
#endif
}

} // namespace pixmorph::cli
