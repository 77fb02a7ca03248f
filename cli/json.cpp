#include "json.h"

#include "utf8.h"

#include <cstdio>

namespace vantor::cli {

std::string JsonString(std::string_view bytes)
{
    std::string out = "\"";
    for (std::size_t at = 0; at < bytes.size();) {
        const Utf8Char c = DecodeUtf8(bytes, at);
        // A byte that is no UTF-8 stands for itself as Latin-1.
        const char32_t code = c.length == 0 ? static_cast<unsigned char>(bytes[at]) : c.code;
        const std::size_t length = c.length == 0 ? 1 : c.length;
        switch (code) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            // Control characters (C0, DEL, C1) and the Latin-1 bytes are
            // escaped; valid UTF-8 goes out as it is.
            if (code < 0x20 || (code >= 0x7F && code < 0xA0) || c.length == 0) {
                char escaped[7];
                std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(code));
                out += escaped;
            } else {
                out.append(bytes.substr(at, length));
            }
        }
        at += length;
    }
    out += '"';
    return out;
}

}  // namespace vantor::cli
