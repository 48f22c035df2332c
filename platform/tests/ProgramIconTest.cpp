// The committed program icon: the sizes and depth the window needs, image
// data that the system can decode, and bytes that its script remakes.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "platform/IconFile.h"

namespace qiro {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::byte>;

constexpr std::array<int, 9> kSizes = {16, 24, 32, 48, 64, 96, 128, 192, 256};

fs::path SourcePath(const char* relative) {
  return fs::path(QIRO_SOURCE_DIR) / relative;
}

fs::path CommittedIcon() { return SourcePath("app/resources/QiroUlvane.ico"); }

Bytes ReadFileBytes(const fs::path& path) {
  std::ifstream stream(path, std::ios::binary);
  const std::vector<char> chars((std::istreambuf_iterator<char>(stream)),
                                std::istreambuf_iterator<char>());
  Bytes bytes(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i) {
    bytes[i] = static_cast<std::byte>(chars[i]);
  }
  return bytes;
}

std::uint8_t At(std::span<const std::byte> bytes, std::size_t offset) {
  return std::to_integer<std::uint8_t>(bytes[offset]);
}

std::size_t BitmapSize(std::size_t side) {
  const std::size_t maskStride = (side + 31) / 32 * 4;
  return 40 + side * side * 4 + maskStride * side;
}

// A 32-bit bitmap whose alpha bytes are all 0 is drawn as an opaque block
// by the system, so the corner must be clear and the centre solid, and
// the AND mask must agree for painters that ignore alpha.
void ExpectBitmapUsesAlpha(std::span<const std::byte> image, int side) {
  const auto n = static_cast<std::size_t>(side);
  const auto alphaAt = [&](std::size_t x, std::size_t rowFromBottom) {
    return At(image, 40 + (rowFromBottom * n + x) * 4 + 3);
  };
  const auto maskAt = [&](std::size_t x, std::size_t rowFromBottom) {
    const std::size_t maskStride = (n + 31) / 32 * 4;
    const std::size_t byte =
        40 + n * n * 4 + rowFromBottom * maskStride + x / 8;
    return (At(image, byte) >> (7 - x % 8)) & 1;
  };
  EXPECT_EQ(alphaAt(0, 0), 0);
  EXPECT_EQ(maskAt(0, 0), 1);
  EXPECT_EQ(alphaAt(n / 2, n / 2), 255);
  EXPECT_EQ(maskAt(n / 2, n / 2), 0);
}

void ExpectPngIsComplete(std::span<const std::byte> image) {
  constexpr std::array<std::uint8_t, 12> kIend = {
      0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  ASSERT_GE(image.size(), kIend.size());
  for (std::size_t i = 0; i < kIend.size(); ++i) {
    EXPECT_EQ(At(image, image.size() - kIend.size() + i), kIend[i]);
  }
}

TEST(ProgramIconTest, HoldsNineSquare32BitImagesOfTheWindowsSizes) {
  const Bytes file = ReadFileBytes(CommittedIcon());
  const std::vector<IconImage> images = ReadIconImages(file);
  ASSERT_EQ(images.size(), kSizes.size());
  for (std::size_t i = 0; i < kSizes.size(); ++i) {
    const int side = kSizes[i];
    SCOPED_TRACE("image of " + std::to_string(side) + " px");
    const IconImage& image = images[i];
    EXPECT_EQ(image.width, side);
    EXPECT_EQ(image.height, side);
    EXPECT_EQ(image.bitCount, 32);
    const IconImageHeader header = ReadIconImageHeader(image.bytes);
    EXPECT_EQ(header.width, side);
    EXPECT_EQ(header.height, side);
    EXPECT_EQ(header.bitCount, 32);
    if (header.format == IconImageFormat::Bitmap) {
      ASSERT_EQ(image.bytes.size(), BitmapSize(static_cast<std::size_t>(side)));
      ExpectBitmapUsesAlpha(image.bytes, side);
    } else {
      ASSERT_EQ(header.format, IconImageFormat::Png);
      ExpectPngIsComplete(image.bytes);
    }
  }
}

TEST(ProgramIconTest, ScriptRemakesTheCommittedFileByteForByte) {
  const std::string python = QIRO_PYTHON;
  if (python.empty()) {
    GTEST_SKIP() << "no python3 to run the icon script with";
  }
  std::error_code error;
  const fs::path directory =
      fs::temp_directory_path(error) /
      ("qiro-icon-" + std::to_string(std::random_device{}()));
  ASSERT_TRUE(fs::create_directories(directory, error)) << error.message();
  const fs::path remade = directory / "QiroUlvane.ico";
  const std::string command = "\"" + python + "\" \"" +
                              SourcePath("assets/icon/make_icon.py").string() +
                              "\" \"" + remade.string() + "\"";
  const int status = std::system(command.c_str());
  const Bytes expected = ReadFileBytes(CommittedIcon());
  const Bytes actual = ReadFileBytes(remade);
  fs::remove_all(directory, error);
  ASSERT_EQ(status, 0) << command;
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(actual.size(), expected.size());
  EXPECT_TRUE(actual == expected)
      << "the committed icon is not what the script makes; run "
         "python3 assets/icon/make_icon.py and commit the result";
}

}  // namespace
}  // namespace qiro
