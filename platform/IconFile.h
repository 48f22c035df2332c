#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace qiro {

// One image of an .ico file as its directory lists it. The bytes are the
// image's own data, a BMP without its file header or a whole PNG, in the
// form CreateIconFromResourceEx takes; they point into the file's bytes.
struct IconImage {
  std::span<const std::byte> bytes;
  int width = 0;     // 1 to 256
  int height = 0;    // 1 to 256
  int bitCount = 0;  // from the directory, or from the data where that is 0
};

// The images of an .ico file, in the order of its directory. A file that
// is not a well-formed icon file gives none at all, rather than whichever
// images happen to look right: a wrong header or reserved field, a
// directory of no entries or one longer than the file, or any entry whose
// data is empty, overlaps the directory or runs past the end of the file.
[[nodiscard]] std::vector<IconImage> ReadIconImages(
    std::span<const std::byte> file);

// The image to draw at wantedSize pixels, an image's size being its larger
// side: one of exactly that size, else the smallest larger one (scaling
// down looks better than scaling up), else the largest. Among images of
// the chosen size the deepest colour wins, so a 32-bit image with its alpha
// channel is taken over a paletted one; the first listed wins a tie. None
// for a malformed file or a wanted size below 1.
[[nodiscard]] std::optional<IconImage> PickIconImage(
    std::span<const std::byte> file, int wantedSize);

enum class IconImageFormat {
  Unknown,
  Bitmap,  // BITMAPINFOHEADER, XOR pixels, AND mask
  Png,
};

// What an image's data says about itself, from its first bytes only: the
// size (for a bitmap the header's height halved, as it counts both masks)
// and the bits per pixel. Unknown, with zero sizes, for anything else.
struct IconImageHeader {
  IconImageFormat format = IconImageFormat::Unknown;
  int width = 0;
  int height = 0;
  int bitCount = 0;
};

[[nodiscard]] IconImageHeader ReadIconImageHeader(
    std::span<const std::byte> image);

}  // namespace qiro
