#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>

#include "process/NameComparison.h"

namespace qiro {
namespace {

// A name in a heap block of exactly its size, so that AddressSanitizer sees
// any read past its end (a std::string would hide one behind its zero).
class ExactName {
 public:
  explicit ExactName(TextView name)
      : bytes_(std::make_unique<char[]>(name.size())), size_(name.size()) {
    if (size_ > 0) {
      std::memcpy(bytes_.get(), name.data(), size_);
    }
  }
  [[nodiscard]] TextView View() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
};

struct LoweringCase {
  const char* what;
  TextView name;
  TextView lowered;
};

void PrintTo(const LoweringCase& c, std::ostream* out) { *out << c.what; }

class LowerNameTest : public ::testing::TestWithParam<LoweringCase> {};

TEST_P(LowerNameTest, FoldsOnlyCapitalsOutsideTwoByteCharacters) {
  const ExactName name(GetParam().name);
  EXPECT_EQ(LowerName(name.View()), GetParam().lowered);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, LowerNameTest,
    ::testing::Values(
        LoweringCase{"capitals", "NOTEPAD.EXE", "notepad.exe"},
        LoweringCase{"mixed case", "NotePad.Exe", "notepad.exe"},
        LoweringCase{"the bytes next to A and Z stay", "@AZ[`az{", "@az[`az{"},
        LoweringCase{"a single-byte letter above 0x7F stays", "\xC9t\xC9",
                     "\xC9t\xC9"},
        LoweringCase{"a capital after a lead byte is its second byte",
                     "\xC4\x41.EXE", "\xC4\x41.exe"},
        LoweringCase{"a code page 936 pair with a capital second byte",
                     "\x81\x41Z", "\x81\x41z"},
        LoweringCase{"a high byte as second byte does not lead a pair",
                     "\x81\x81\x41", "\x81\x81\x61"},
        LoweringCase{"a lead byte as the last byte", "Z\x81", "z\x81"},
        LoweringCase{"a lead byte alone", "\x81", "\x81"},
        LoweringCase{"the empty name", "", ""},
        LoweringCase{"a zero byte keeps the length", "A\0B"sv, "a\0b"sv}));

struct ComparisonCase {
  const char* what;
  TextView left;
  TextView right;
  bool matchIgnoringCase;
};

void PrintTo(const ComparisonCase& c, std::ostream* out) { *out << c.what; }

class NamesMatchTest : public ::testing::TestWithParam<ComparisonCase> {};

TEST_P(NamesMatchTest, IgnoringCaseFoldsOnlyCapitalsOutsidePairs) {
  const ExactName left(GetParam().left);
  const ExactName right(GetParam().right);
  EXPECT_EQ(NamesMatch(left.View(), right.View(), 0),
            GetParam().matchIgnoringCase);
  EXPECT_EQ(NamesMatch(right.View(), left.View(), 0),
            GetParam().matchIgnoringCase);
}

TEST_P(NamesMatchTest, IgnoringCaseEqualsComparingLoweredNames) {
  const ExactName left(GetParam().left);
  const ExactName right(GetParam().right);
  EXPECT_EQ(NamesEqualIgnoringCase(left.View(), right.View()),
            LowerName(left.View()) == LowerName(right.View()));
}

TEST_P(NamesMatchTest, AnyFlagButZeroComparesBytes) {
  const ExactName left(GetParam().left);
  const ExactName right(GetParam().right);
  const bool sameBytes = GetParam().left == GetParam().right;
  for (const int flag : {1, -1, 2, 0x7FFFFFFF}) {
    EXPECT_EQ(NamesMatch(left.View(), right.View(), flag), sameBytes)
        << "flag " << flag;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NamesMatchTest,
    ::testing::Values(
        ComparisonCase{"the same name", "game.exe", "game.exe", true},
        ComparisonCase{"capitals", "GAME.EXE", "game.exe", true},
        ComparisonCase{"mixed case", "GaMe.ExE", "gAmE.eXe", true},
        ComparisonCase{"@ is not a capital of `", "@.exe", "`.exe", false},
        ComparisonCase{"[ is not a capital of {", "[.exe", "{.exe", false},
        ComparisonCase{"a single-byte letter above 0x7F", "\xC9t\xC9.exe",
                       "\xE9t\xE9.exe", false},
        ComparisonCase{"a capital after a byte of 0x80 or above",
                       "\xC4\x41.exe", "\xC4\x61.exe", false},
        ComparisonCase{"a capital after a whole pair is folded",
                       "\xC4\xC4\x41.exe", "\xC4\xC4\x61.exe", true},
        ComparisonCase{"a 936 character matches itself in any case",
                       "\x81\x41.EXE", "\x81\x41.exe", true},
        ComparisonCase{"a 936 character against the one 0x20 higher",
                       "\x81\x41.exe", "\x81\x61.exe", false},
        ComparisonCase{"a lead byte as the last byte", "GAME\x81", "game\x81",
                       true},
        ComparisonCase{"different lead bytes at the end", "game\x81",
                       "game\x82", false},
        ComparisonCase{"both empty", "", "", true},
        ComparisonCase{"empty against a name", "", "a", false},
        ComparisonCase{"a trailing space", "game.exe ", "game.exe", false},
        ComparisonCase{"a leading space", " game.exe", "game.exe", false},
        ComparisonCase{"a path", "C:\\Games\\game.exe", "game.exe", false},
        ComparisonCase{"a prefix", "game", "game.exe", false}));

}  // namespace
}  // namespace qiro
