#include "process/NameComparison.h"

#include <cstddef>

namespace qiro {
namespace {

constexpr unsigned char kFirstCapital = 'A';
constexpr unsigned char kLastCapital = 'Z';
constexpr unsigned char kCaseDistance = 'a' - 'A';
constexpr unsigned char kFirstLeadByte = 0x80;

// Walks one name byte by byte and yields each byte as lowering turns it,
// remembering whether the next byte is the second half of a pair.
class LoweringCursor {
 public:
  explicit LoweringCursor(TextView name) : name_(name) {}

  // The lowered byte at the cursor; the caller stays within the name.
  unsigned char Next() {
    const auto byte = static_cast<unsigned char>(name_[position_++]);
    if (inPair_) {
      inPair_ = false;
      return byte;
    }
    if (byte >= kFirstLeadByte) {
      // A lead byte as the very last byte has no partner to protect; the
      // cursor simply ends with the name.
      inPair_ = true;
      return byte;
    }
    if (byte >= kFirstCapital && byte <= kLastCapital) {
      return static_cast<unsigned char>(byte + kCaseDistance);
    }
    return byte;
  }

 private:
  TextView name_;
  std::size_t position_ = 0;
  bool inPair_ = false;
};

// A byte as lowering turns it outside a pair. A byte's fate inside a pair is
// to stay as it is, so two bytes whose folds differ stay different whatever
// pair each of them stands in: folding never makes a capital, and only a
// capital and its small letter share a fold.
unsigned char Folded(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return value >= kFirstCapital && value <= kLastCapital
             ? static_cast<unsigned char>(value + kCaseDistance)
             : value;
}

}  // namespace

Text LowerName(TextView name) {
  Text lowered(name.size(), '\0');
  LoweringCursor cursor(name);
  for (char& byte : lowered) {
    byte = static_cast<char>(cursor.Next());
  }
  return lowered;
}

bool NamesEqualIgnoringCase(TextView left, TextView right) {
  if (left.size() != right.size()) {
    return false;
  }
  // Names that share a beginning mostly differ in their last byte (the
  // extension), and that byte can be judged without walking up to it.
  if (!left.empty() && Folded(left.back()) != Folded(right.back())) {
    return false;
  }
  LoweringCursor leftCursor(left);
  LoweringCursor rightCursor(right);
  for (std::size_t remaining = left.size(); remaining > 0; --remaining) {
    if (leftCursor.Next() != rightCursor.Next()) {
      return false;
    }
  }
  return true;
}

bool NamesMatch(TextView entryName, TextView wantedName, int caseSensitive) {
  if (caseSensitive != 0) {
    return entryName == wantedName;
  }
  return NamesEqualIgnoringCase(entryName, wantedName);
}

}  // namespace qiro
