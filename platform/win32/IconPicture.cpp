#include "platform/win32/IconPicture.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/IconFile.h"

namespace qiro::win32 {
namespace {

// The version of the icon resource format that CreateIconFromResourceEx
// reads (3.0, the only one in use).
constexpr DWORD kIconFormatVersion = 0x00030000;

}  // namespace

OwnedIcon IconPictureOf(std::span<const std::byte> iconFile, int side) {
  const std::optional<IconImage> image = PickIconImage(iconFile, side);
  if (!image) {
    return {};
  }
  // The system asks for a writable buffer: it gets a copy, and the
  // caller's bytes stay untouched.
  std::vector<BYTE> data(image->bytes.size());
  std::transform(image->bytes.begin(), image->bytes.end(), data.begin(),
                 [](std::byte b) { return std::to_integer<BYTE>(b); });
  return OwnedIcon(CreateIconFromResourceEx(
      data.data(), static_cast<DWORD>(data.size()), TRUE, kIconFormatVersion,
      side, side, LR_DEFAULTCOLOR));
}

}  // namespace qiro::win32
