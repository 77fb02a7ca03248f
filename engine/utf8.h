// Walking names that may or may not be UTF-8: paks store bytes, and other
// tools wrote UTF-8, Latin-1 or anything else.
#pragma once

#include <cstddef>
#include <string_view>

namespace vantor {

struct Utf8Char {
    std::size_t length = 0;  // bytes taken; 0 when text[at] starts no valid sequence
    char32_t code = 0;
};

// The character encoded at text[at] (at < text.size()). Overlong forms,
// surrogates, code points past U+10FFFF and cut-off sequences are invalid:
// each of their bytes is then the caller's to treat alone.
Utf8Char DecodeUtf8(std::string_view text, std::size_t at);

}  // namespace vantor
