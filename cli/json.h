// The little JSON that --json needs: strings and documents built by hand.
#pragma once

#include <string>
#include <string_view>

namespace vantor::cli {

// A quoted JSON string. Pak names are bytes: valid UTF-8 is kept as it is,
// and each byte that is not part of any is read as Latin-1 and written as
// \u0080..\u00FF, so the document is always valid UTF-8. Control
// characters (C0, DEL and C1) are escaped.
std::string JsonString(std::string_view bytes);

}  // namespace vantor::cli
