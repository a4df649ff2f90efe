#include "model/files/path_text.h"

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

}  // namespace

std::string QuotedText(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            quoted += escaped(byte);
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace morvane
