#pragma once

#include <string>

#include "host_api/effect.h"

namespace quorvel::host {

// Text as the host's interfaces carry it (UTF-16 code units) and as the host keeps it
// (UTF-8). Ill-formed input becomes U+FFFD.
std::u16string Utf16FromUtf8(const std::string& text);
std::string Utf8FromUtf16(const std::u16string& text);
// A NUL-terminated run of UTF-16 units; empty for null.
std::u16string Utf16Terminated(const A_UTF16Char* text);

}  // namespace quorvel::host
