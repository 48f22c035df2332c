#include "platform/IconFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace qiro {
namespace {

constexpr std::size_t kDirectorySize = 6;       // ICONDIR
constexpr std::size_t kEntrySize = 16;          // ICONDIRENTRY
constexpr std::uint32_t kIconResourceType = 1;  // 2 would be a cursor
constexpr int kSideOfZero = 256;  // a side byte of 0 stands for 256

constexpr std::size_t kBitmapHeaderSize = 40;  // BITMAPINFOHEADER
constexpr std::size_t kPngIhdrEnd = 26;  // signature, IHDR up to colour type
constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 0x50, 0x4E, 0x47,
                                                       0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::array<std::uint8_t, 4> kIhdr = {0x49, 0x48, 0x44, 0x52};

bool Holds(std::span<const std::byte> bytes, std::size_t offset,
           std::size_t count) {
  return offset <= bytes.size() && count <= bytes.size() - offset;
}

// The readers give 0 for bytes outside the span, so a forgotten length
// check can give a wrong value but never a read out of bounds.
std::uint32_t ByteAt(std::span<const std::byte> bytes, std::size_t offset) {
  return offset < bytes.size() ? std::to_integer<std::uint32_t>(bytes[offset])
                               : 0;
}

std::uint32_t ReadLittleEndian(std::span<const std::byte> bytes,
                               std::size_t offset, std::size_t count) {
  if (!Holds(bytes, offset, count)) {
    return 0;
  }
  std::uint32_t value = 0;
  for (std::size_t i = count; i > 0; --i) {
    value = (value << 8) | ByteAt(bytes, offset + i - 1);
  }
  return value;
}

std::uint32_t ReadBigEndian32(std::span<const std::byte> bytes,
                              std::size_t offset) {
  if (!Holds(bytes, offset, 4)) {
    return 0;
  }
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = (value << 8) | ByteAt(bytes, offset + i);
  }
  return value;
}

template <std::size_t N>
bool Matches(std::span<const std::byte> bytes, std::size_t offset,
             const std::array<std::uint8_t, N>& expected) {
  if (!Holds(bytes, offset, N)) {
    return false;
  }
  for (std::size_t i = 0; i < N; ++i) {
    if (ByteAt(bytes, offset + i) != expected[i]) {
      return false;
    }
  }
  return true;
}

int ChannelsOfPngColourType(std::uint32_t colourType) {
  switch (colourType) {
    case 0:  // grey
    case 3:  // palette index
      return 1;
    case 4:  // grey and alpha
      return 2;
    case 2:  // RGB
      return 3;
    case 6:  // RGBA
      return 4;
    default:
      return 0;
  }
}

IconImageHeader ReadPngHeader(std::span<const std::byte> image) {
  constexpr auto kMaxSide =
      static_cast<std::uint32_t>(std::numeric_limits<int>::max());
  const std::uint32_t width = ReadBigEndian32(image, 16);
  const std::uint32_t height = ReadBigEndian32(image, 20);
  const int channels = ChannelsOfPngColourType(ByteAt(image, 25));
  if (!Matches(image, 12, kIhdr) || width == 0 || height == 0 ||
      width > kMaxSide || height > kMaxSide || channels == 0) {
    return {};
  }
  return {IconImageFormat::Png, static_cast<int>(width),
          static_cast<int>(height),
          static_cast<int>(ByteAt(image, 24)) * channels};
}

IconImageHeader ReadBitmapHeader(std::span<const std::byte> image) {
  const std::uint32_t headerSize = ReadLittleEndian(image, 0, 4);
  // Signed 32-bit fields: a top-down (negative) height is no icon image.
  const auto width = static_cast<std::int32_t>(ReadLittleEndian(image, 4, 4));
  const auto bothMasksHeight =
      static_cast<std::int32_t>(ReadLittleEndian(image, 8, 4));
  const auto bitCount = static_cast<int>(ReadLittleEndian(image, 14, 2));
  if (headerSize < kBitmapHeaderSize || width <= 0 || bothMasksHeight < 2 ||
      bitCount == 0) {
    return {};
  }
  return {IconImageFormat::Bitmap, width, bothMasksHeight / 2, bitCount};
}

int SideOf(std::uint32_t sideByte) {
  return sideByte == 0 ? kSideOfZero : static_cast<int>(sideByte);
}

// One ICONDIRENTRY; nothing if it breaks the file's rules.
std::optional<IconImage> ReadEntry(std::span<const std::byte> file,
                                   std::size_t entryOffset,
                                   std::size_t directoryEnd) {
  const std::uint32_t reserved = ByteAt(file, entryOffset + 3);
  const auto listedBitCount =
      static_cast<int>(ReadLittleEndian(file, entryOffset + 6, 2));
  const std::size_t size = ReadLittleEndian(file, entryOffset + 8, 4);
  const std::size_t offset = ReadLittleEndian(file, entryOffset + 12, 4);
  if (reserved != 0 || size == 0 || offset < directoryEnd ||
      !Holds(file, offset, size)) {
    return std::nullopt;
  }
  IconImage image;
  image.bytes = file.subspan(offset, size);
  image.width = SideOf(ByteAt(file, entryOffset));
  image.height = SideOf(ByteAt(file, entryOffset + 1));
  // Some writers leave the directory's depth 0; the data knows it.
  image.bitCount = listedBitCount != 0
                       ? listedBitCount
                       : ReadIconImageHeader(image.bytes).bitCount;
  return image;
}

int SizeOf(const IconImage& image) {
  return std::max(image.width, image.height);
}

int ChooseSize(const std::vector<IconImage>& images, int wantedSize) {
  int smallestLarger = 0;
  int largest = 0;
  for (const IconImage& image : images) {
    const int size = SizeOf(image);
    if (size == wantedSize) {
      return size;
    }
    if (size > wantedSize && (smallestLarger == 0 || size < smallestLarger)) {
      smallestLarger = size;
    }
    largest = std::max(largest, size);
  }
  return smallestLarger != 0 ? smallestLarger : largest;
}

}  // namespace

std::vector<IconImage> ReadIconImages(std::span<const std::byte> file) {
  if (!Holds(file, 0, kDirectorySize) || ReadLittleEndian(file, 0, 2) != 0 ||
      ReadLittleEndian(file, 2, 2) != kIconResourceType) {
    return {};
  }
  const std::size_t count = ReadLittleEndian(file, 4, 2);
  const std::size_t directoryEnd = kDirectorySize + count * kEntrySize;
  if (count == 0 || !Holds(file, 0, directoryEnd)) {
    return {};
  }
  std::vector<IconImage> images;
  images.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::optional<IconImage> image =
        ReadEntry(file, kDirectorySize + i * kEntrySize, directoryEnd);
    if (!image) {
      return {};
    }
    images.push_back(*image);
  }
  return images;
}

std::optional<IconImage> PickIconImage(std::span<const std::byte> file,
                                       int wantedSize) {
  if (wantedSize < 1) {
    return std::nullopt;
  }
  const std::vector<IconImage> images = ReadIconImages(file);
  if (images.empty()) {
    return std::nullopt;
  }
  const int chosenSize = ChooseSize(images, wantedSize);
  // Images of the chosen size rank above the others, deeper ones above
  // shallower; max_element gives the first of equals.
  const auto ranksBelow = [chosenSize](const IconImage& a, const IconImage& b) {
    const bool aFits = SizeOf(a) == chosenSize;
    const bool bFits = SizeOf(b) == chosenSize;
    return aFits != bFits ? bFits : a.bitCount < b.bitCount;
  };
  return *std::max_element(images.begin(), images.end(), ranksBelow);
}

IconImageHeader ReadIconImageHeader(std::span<const std::byte> image) {
  if (Matches(image, 0, kPngSignature)) {
    return Holds(image, 0, kPngIhdrEnd) ? ReadPngHeader(image)
                                        : IconImageHeader{};
  }
  return Holds(image, 0, kBitmapHeaderSize) ? ReadBitmapHeader(image)
                                            : IconImageHeader{};
}

}  // namespace qiro
