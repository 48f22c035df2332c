#pragma once

#include <string>
#include <string_view>

namespace qiro {

// A text is a byte string in the system's ANSI code page; the program's own
// texts are code page 936. Two texts are equal when their bytes are equal, so
// std::string's comparison is the text comparison.
using Text = std::string;
using TextView = std::string_view;

}  // namespace qiro
