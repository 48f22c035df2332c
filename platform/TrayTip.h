#pragma once

#include <cstddef>

#include "platform/Text.h"

namespace qiro {

// The notification area keeps 62 bytes of a tip (64 wide characters less
// the terminator, with room for every pair to widen to one character).
inline constexpr std::size_t kTrayTipBytes = 62;

// The longest start of a code page 936 text that fits in maxBytes without
// cutting a two-byte character in half: a byte of 0x80 or above leads a
// pair with the byte after it.
constexpr TextView KeepWholeCharacters(TextView text, std::size_t maxBytes) {
  std::size_t kept = 0;
  while (kept < text.size()) {
    const bool leadsPair = static_cast<unsigned char>(text[kept]) >= 0x80;
    const std::size_t width = leadsPair ? 2 : 1;
    if (kept + width > maxBytes || kept + width > text.size()) {
      break;
    }
    kept += width;
  }
  return text.substr(0, kept);
}

}  // namespace qiro
