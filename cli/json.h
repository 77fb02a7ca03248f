// The little JSON that --json needs: strings and documents built by hand.
#pragma once

#include <string>
#include <string_view>

namespace vantor::cli {

// A quoted JSON string. Pak names are bytes, not UTF-8: bytes from 0x80 up
// are written as \u0080..\u00FF (their Latin-1 reading), so the document is
// always valid and every byte can be recovered.
std::string JsonString(std::string_view bytes);

}  // namespace vantor::cli
