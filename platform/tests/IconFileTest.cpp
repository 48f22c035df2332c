#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/IconFile.h"

namespace qiro {
namespace {

using Bytes = std::vector<std::byte>;

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;

void PutLittleEndian(Bytes& bytes, std::size_t at, std::uint32_t value,
                     int count) {
  for (int i = 0; i < count; ++i) {
    bytes.at(at + static_cast<std::size_t>(i)) =
        static_cast<std::byte>((value >> (8 * i)) & 0xFF);
  }
}

void PutBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes.at(at + static_cast<std::size_t>(i)) =
        static_cast<std::byte>((value >> (24 - 8 * i)) & 0xFF);
  }
}

Bytes Filled(std::size_t size, std::uint8_t value) {
  return Bytes(size, static_cast<std::byte>(value));
}

struct EntrySpec {
  std::uint8_t width = 0;  // 0 stands for 256
  std::uint8_t height = 0;
  std::uint16_t bitCount = 32;
  Bytes payload;
};

// An icon file as a careful writer lays it out: directory, then the
// payloads in the order of the entries.
Bytes BuildIcon(const std::vector<EntrySpec>& entries) {
  const std::size_t directoryEnd = kDirectorySize + kEntrySize * entries.size();
  Bytes file(directoryEnd);
  PutLittleEndian(file, 2, 1, 2);
  PutLittleEndian(file, 4, static_cast<std::uint32_t>(entries.size()), 2);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const EntrySpec& entry = entries[i];
    const std::size_t at = kDirectorySize + kEntrySize * i;
    file[at] = static_cast<std::byte>(entry.width);
    file[at + 1] = static_cast<std::byte>(entry.height);
    PutLittleEndian(file, at + 4, 1, 2);
    PutLittleEndian(file, at + 6, entry.bitCount, 2);
    PutLittleEndian(file, at + 8,
                    static_cast<std::uint32_t>(entry.payload.size()), 4);
    PutLittleEndian(file, at + 12, static_cast<std::uint32_t>(file.size()), 4);
    file.insert(file.end(), entry.payload.begin(), entry.payload.end());
  }
  return file;
}

Bytes BitmapHeader(std::int32_t width, std::int32_t bothMasksHeight,
                   std::uint16_t bitCount, std::uint32_t headerSize = 40) {
  Bytes header(40);
  PutLittleEndian(header, 0, headerSize, 4);
  PutLittleEndian(header, 4, static_cast<std::uint32_t>(width), 4);
  PutLittleEndian(header, 8, static_cast<std::uint32_t>(bothMasksHeight), 4);
  PutLittleEndian(header, 12, 1, 2);
  PutLittleEndian(header, 14, bitCount, 2);
  return header;
}

// PNG signature and IHDR chunk with its CRC field left 0: the reader looks
// at nothing beyond the colour type.
Bytes PngStart(std::uint32_t width, std::uint32_t height, std::uint8_t depth,
               std::uint8_t colourType) {
  Bytes png = {std::byte{0x89}, std::byte{'P'},  std::byte{'N'},
               std::byte{'G'},  std::byte{0x0D}, std::byte{0x0A},
               std::byte{0x1A}, std::byte{0x0A}};
  png.resize(33);
  PutBigEndian(png, 8, 13);
  png[12] = std::byte{'I'};
  png[13] = std::byte{'H'};
  png[14] = std::byte{'D'};
  png[15] = std::byte{'R'};
  PutBigEndian(png, 16, width);
  PutBigEndian(png, 20, height);
  png[24] = static_cast<std::byte>(depth);
  png[25] = static_cast<std::byte>(colourType);
  return png;
}

// Two entries, 16 px and 256 px: 38 bytes of directory, the 4-byte
// payload at 38, the 6-byte one at 42, 48 bytes in all.
Bytes TwoImageIcon() {
  return BuildIcon(
      {{16, 16, 32, Filled(4, 0xA1)}, {0, 0, 32, Filled(6, 0xB2)}});
}

constexpr std::size_t kSecondEntry = kDirectorySize + kEntrySize;

TEST(IconFileTest, ReadsEveryEntryWithItsOwnBytes) {
  const Bytes file = TwoImageIcon();
  const std::vector<IconImage> images = ReadIconImages(file);
  ASSERT_EQ(images.size(), 2U);
  EXPECT_EQ(images[0].width, 16);
  EXPECT_EQ(images[0].height, 16);
  EXPECT_EQ(images[0].bitCount, 32);
  EXPECT_EQ(images[0].bytes.data(), file.data() + 38);
  EXPECT_EQ(images[0].bytes.size(), 4U);
  // A side byte of 0 is 256.
  EXPECT_EQ(images[1].width, 256);
  EXPECT_EQ(images[1].height, 256);
  EXPECT_EQ(images[1].bytes.data(), file.data() + 42);
  EXPECT_EQ(images[1].bytes.size(), 6U);
}

TEST(IconFileTest, PayloadMayEndExactlyAtTheEndOfTheFile) {
  Bytes file = TwoImageIcon();
  file.push_back(std::byte{0});  // trailing bytes are no fault either
  EXPECT_EQ(ReadIconImages(file).size(), 2U);
  file.pop_back();
  file.pop_back();  // now the last payload is one byte short
  EXPECT_TRUE(ReadIconImages(file).empty());
}

struct MalformedCase {
  std::string name;
  std::function<void(Bytes&)> spoil;
};

TEST(IconFileTest, MalformedFilesGiveNoImage) {
  const std::vector<MalformedCase> cases = {
      {"empty file", [](Bytes& f) { f.clear(); }},
      {"header cut short", [](Bytes& f) { f.resize(5); }},
      {"header only", [](Bytes& f) { f.resize(kDirectorySize); }},
      {"directory cut inside the second entry",
       [](Bytes& f) { f.resize(kSecondEntry + kEntrySize - 1); }},
      {"reserved field not 0", [](Bytes& f) { PutLittleEndian(f, 0, 1, 2); }},
      {"type 2, a cursor", [](Bytes& f) { PutLittleEndian(f, 2, 2, 2); }},
      {"type 0", [](Bytes& f) { PutLittleEndian(f, 2, 0, 2); }},
      {"zero entries", [](Bytes& f) { PutLittleEndian(f, 4, 0, 2); }},
      {"more entries than the file holds",
       [](Bytes& f) { PutLittleEndian(f, 4, 3, 2); }},
      {"entry's reserved byte not 0",
       [](Bytes& f) { f[kSecondEntry + 3] = std::byte{1}; }},
      {"empty payload",
       [](Bytes& f) { PutLittleEndian(f, kSecondEntry + 8, 0, 4); }},
      {"payload one byte past the end",
       [](Bytes& f) { PutLittleEndian(f, kSecondEntry + 8, 7, 4); }},
      {"offset at the end of the file",
       [](Bytes& f) { PutLittleEndian(f, kSecondEntry + 12, 48, 4); }},
      {"offset far past the end",
       [](Bytes& f) { PutLittleEndian(f, kSecondEntry + 12, 0x7FFFFFFF, 4); }},
      // In 32 bits, 0xFFFFFFF0 + 0x20 wraps to 0x10, inside the file.
      {"offset plus size wraps around",
       [](Bytes& f) {
         PutLittleEndian(f, kSecondEntry + 8, 0x20, 4);
         PutLittleEndian(f, kSecondEntry + 12, 0xFFFFFFF0, 4);
       }},
      {"largest size",
       [](Bytes& f) { PutLittleEndian(f, kSecondEntry + 8, 0xFFFFFFFF, 4); }},
      {"payload is the header",
       [](Bytes& f) { PutLittleEndian(f, kSecondEntry + 12, 0, 4); }},
      {"payload starts inside the directory",
       [](Bytes& f) { PutLittleEndian(f, kSecondEntry + 12, 37, 4); }},
  };
  ASSERT_EQ(ReadIconImages(TwoImageIcon()).size(), 2U);
  for (const MalformedCase& test : cases) {
    SCOPED_TRACE(test.name);
    Bytes file = TwoImageIcon();
    test.spoil(file);
    EXPECT_TRUE(ReadIconImages(file).empty());
    EXPECT_FALSE(PickIconImage(file, 16).has_value());
  }
}

TEST(IconFileTest, MissingDepthIsTakenFromTheImageData) {
  const Bytes file = BuildIcon({{24, 24, 0, BitmapHeader(24, 48, 8)},
                                {96, 96, 0, PngStart(96, 96, 8, 6)},
                                {32, 32, 0, Filled(40, 0)}});
  const std::vector<IconImage> images = ReadIconImages(file);
  ASSERT_EQ(images.size(), 3U);
  EXPECT_EQ(images[0].bitCount, 8);
  EXPECT_EQ(images[1].bitCount, 32);
  EXPECT_EQ(images[2].bitCount, 0);  // unreadable data: depth unknown
}

struct ImageHeaderCase {
  std::string name;
  Bytes image;
  IconImageFormat format;
  int width;
  int height;
  int bitCount;
};

TEST(IconFileTest, ReadsTheImageDataHeader) {
  const auto cut = [](Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
  };
  Bytes wrongChunk = PngStart(16, 16, 8, 6);
  wrongChunk[12] = std::byte{'i'};
  const auto unknown = IconImageFormat::Unknown;
  const std::vector<ImageHeaderCase> cases = {
      {"32-bit bitmap", BitmapHeader(24, 48, 32), IconImageFormat::Bitmap, 24,
       24, 32},
      {"V5 bitmap header", BitmapHeader(16, 32, 32, 124),
       IconImageFormat::Bitmap, 16, 16, 32},
      {"RGBA PNG", PngStart(256, 256, 8, 6), IconImageFormat::Png, 256, 256,
       32},
      {"paletted PNG", PngStart(48, 48, 4, 3), IconImageFormat::Png, 48, 48, 4},
      {"bitmap header cut short", cut(BitmapHeader(24, 48, 32), 39), unknown, 0,
       0, 0},
      {"OS/2 bitmap header", BitmapHeader(24, 48, 32, 12), unknown, 0, 0, 0},
      {"top-down bitmap", BitmapHeader(24, -48, 32), unknown, 0, 0, 0},
      {"bitmap of no width", BitmapHeader(0, 48, 32), unknown, 0, 0, 0},
      {"bitmap of no depth", BitmapHeader(24, 48, 0), unknown, 0, 0, 0},
      {"PNG cut inside IHDR", cut(PngStart(16, 16, 8, 6), 25), unknown, 0, 0,
       0},
      {"PNG signature only", cut(PngStart(16, 16, 8, 6), 8), unknown, 0, 0, 0},
      {"PNG without IHDR first", wrongChunk, unknown, 0, 0, 0},
      {"PNG of no height", PngStart(16, 0, 8, 6), unknown, 0, 0, 0},
      {"PNG wider than an int", PngStart(0x80000000U, 16, 8, 6), unknown, 0, 0,
       0},
      {"PNG of colour type 5", PngStart(16, 16, 8, 5), unknown, 0, 0, 0},
      {"nothing", Bytes{}, unknown, 0, 0, 0},
  };
  for (const ImageHeaderCase& test : cases) {
    SCOPED_TRACE(test.name);
    const IconImageHeader header = ReadIconImageHeader(test.image);
    EXPECT_EQ(header.format, test.format);
    EXPECT_EQ(header.width, test.width);
    EXPECT_EQ(header.height, test.height);
    EXPECT_EQ(header.bitCount, test.bitCount);
  }
}

// Payload byte i + 1 names entry i, so a test sees which image was picked.
Bytes IconOf(const std::vector<EntrySpec>& sizes) {
  std::vector<EntrySpec> entries = sizes;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    entries[i].payload = Filled(1, static_cast<std::uint8_t>(i + 1));
  }
  return BuildIcon(entries);
}

int PickedEntry(const Bytes& file, int wantedSize) {
  const std::optional<IconImage> image = PickIconImage(file, wantedSize);
  return image ? std::to_integer<int>(image->bytes[0]) - 1 : -1;
}

struct ChoiceCase {
  int wantedSize;
  int entry;  // -1: none
};

TEST(IconFileTest, PicksExactThenSmallestLargerThenLargestThenDeepest) {
  // Listed out of order, with a paletted 16 px before the 32-bit one.
  const Bytes file = IconOf({{48, 48, 32, {}},
                             {16, 16, 8, {}},
                             {32, 32, 32, {}},
                             {16, 16, 32, {}},
                             {0, 0, 32, {}}});
  const std::vector<ChoiceCase> cases = {
      {16, 3},  // exact, and 32-bit over 8-bit
      {32, 2},  {48, 0},
      {256, 4}, {20, 2},  // the smallest larger, not the first larger (48)
      {40, 0},  {1, 3},
      {100, 4}, {300, 4},  // nothing as large: the largest
      {0, -1},  {-16, -1},
  };
  for (const ChoiceCase& test : cases) {
    SCOPED_TRACE("wanted " + std::to_string(test.wantedSize));
    EXPECT_EQ(PickedEntry(file, test.wantedSize), test.entry);
  }
}

TEST(IconFileTest, FirstListedWinsATieAndLargerSideIsTheSize) {
  const Bytes twins = IconOf({{32, 32, 32, {}}, {32, 32, 32, {}}});
  EXPECT_EQ(PickedEntry(twins, 32), 0);
  const Bytes wide = IconOf({{32, 16, 32, {}}, {24, 24, 32, {}}});
  EXPECT_EQ(PickedEntry(wide, 32), 0);
  EXPECT_EQ(PickedEntry(wide, 16), 1);
}

TEST(IconFileTest, PickedImageComesWithItsSize) {
  const Bytes file = TwoImageIcon();
  const std::optional<IconImage> image = PickIconImage(file, 200);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 256);
  EXPECT_EQ(image->height, 256);
  EXPECT_EQ(image->bytes.data(), file.data() + 42);
  EXPECT_EQ(image->bytes.size(), 6U);
}

}  // namespace
}  // namespace qiro
