#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-16LE code units as UTF-8, lone surrogates included (as three bytes each), so that
// writing back gives the same units. False when a byte is left over.
bool DecodeUtf16(std::string_view bytes, std::string* out);
// The reverse of DecodeUtf16. A byte that starts no sequence stands for itself (Latin-1).
void EncodeUtf16(std::string_view text, std::string* out);

}  // namespace platform
