#include "platform/win32/CodePage.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace qiro::win32 {

std::wstring Widen(TextView text, UINT codePage) {
  const int length = static_cast<int>(
      std::min(text.size(), static_cast<std::size_t>(INT_MAX)));
  if (length == 0) {
    return {};
  }
  const int wideLength =
      MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) {
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(),
                      wideLength);
  return wide;
}

}  // namespace qiro::win32
