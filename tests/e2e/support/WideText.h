#pragma once

#include <string>
#include <string_view>

namespace qiro::e2e {

// UTF-16 to UTF-8, for messages: GoogleTest prints UTF-8 as text.
std::string Utf8(std::wstring_view text);
// UTF-8 to UTF-16, for the Unix side's paths and command lines.
std::wstring Utf16(std::string_view text);

}  // namespace qiro::e2e
