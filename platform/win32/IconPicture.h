#pragma once

#include <cstddef>
#include <span>

#include "platform/win32/Owned.h"

namespace qiro::win32 {

// An icon of side by side pixels made from the image of the .ico file that
// suits that size best; empty when the file holds no image the system can
// read.
OwnedIcon IconPictureOf(std::span<const std::byte> iconFile, int side);

}  // namespace qiro::win32
