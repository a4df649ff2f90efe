#include "model/files/path_text.h"

#include <algorithm>
#include <cstdio>

namespace morvane {

namespace {

std::string escaped(unsigned char c) {
    switch (c) {
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            char text[8];
            std::snprintf(text, sizeof text, "\\x%02X", c);
            return text;
    }
}

// The length of the well-formed UTF-8 sequence at the start of text, or 0.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || length > text.size()) {
        return 0;
    }
    for (std::size_t at = 1; at < length; ++at) {
        if ((byte(at) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF.
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F) ||
        (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) > 0x8F)) {
        return 0;
    }
    return length;
}

}  // namespace

// A terminal acts on the C1 controls too (U+009B, or the byte 0x9B on an
// 8-bit terminal, opens an escape sequence as ESC [ does).
std::string QuotedText(std::string_view text) {
    std::string quoted = "'";
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        const std::size_t length = sequenceLength(text);
        if (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned char>(text[1]));
            quoted += escape;
        } else if (byte < 0x20 || byte == 0x7F || (length == 0 && byte >= 0x80 && byte < 0xA0)) {
            quoted += escaped(byte);
        } else {
            quoted.append(text.substr(0, std::max<std::size_t>(length, 1)));
        }
        text.remove_prefix(std::max<std::size_t>(length, 1));
    }
    return quoted + "'";
}

}  // namespace morvane
