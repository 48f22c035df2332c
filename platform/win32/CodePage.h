#pragma once

#include <windows.h>

#include <string>

#include "platform/Text.h"

namespace qiro::win32 {

// The program's own texts are code page 936 whatever the system's ANSI
// code page, so they are shown through the wide functions after this
// conversion.
inline constexpr UINT kProgramCodePage = 936;
// Process names come in the system's ANSI code page.
inline constexpr UINT kSystemCodePage = CP_ACP;

// The text as UTF-16; bytes that are no character of the code page become
// the system's replacement character.
std::wstring Widen(TextView text, UINT codePage);

}  // namespace qiro::win32
