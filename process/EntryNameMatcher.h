#pragma once

#include <cstddef>

#include "platform/ProcessServices.h"
#include "platform/Text.h"
#include "process/EntryExeName.h"

namespace qiro {

// Tells which snapshot entries carry the wanted name, as EntryNameMatches
// does. The lookup runs it over every entry of a snapshot five times a
// second, so it first looks, inline and without a call, at the two bytes
// that tell most names apart: the first one, and the one where the wanted
// name ends. Only an entry that passes both is compared whole.
class EntryNameMatcher {
 public:
  EntryNameMatcher(TextView wantedName, int caseSensitive)
      : wantedName_(wantedName),
        caseSensitive_(caseSensitive),
        possible_(wantedName.size() <= kMaxExeNameLength),
        // A name of the field's full length has no terminator to look for.
        endMustBeZero_(wantedName.size() < kMaxExeNameLength),
        endIndex_(endMustBeZero_ ? wantedName.size() : 0) {
    // Lowering changes the first byte of a name only when it is a capital,
    // whatever follows it; the empty name must meet an empty field.
    const auto first = static_cast<unsigned char>(
        wantedName.empty() ? '\0' : wantedName.front());
    firstByte_ = first;
    otherCaseFirstByte_ = first;
    if (caseSensitive == 0 && IsLetter(first)) {
      firstByte_ = static_cast<unsigned char>(first | kCaseBit);
      otherCaseFirstByte_ = static_cast<unsigned char>(first & ~kCaseBit);
    }
  }

  [[nodiscard]] bool Matches(const ProcessEntry& entry) const {
    const auto first = static_cast<unsigned char>(entry.exeFile[0]);
    return possible_ && (first == firstByte_ || first == otherCaseFirstByte_) &&
           (!endMustBeZero_ || entry.exeFile[endIndex_] == '\0') &&
           EntryNameMatches(entry, wantedName_, caseSensitive_);
  }

 private:
  static constexpr unsigned char kCaseBit = 'a' - 'A';

  static bool IsLetter(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
  }

  TextView wantedName_;
  int caseSensitive_;
  bool possible_;  // no entry holds a name longer than its field allows
  // An entry whose name has the wanted length has a zero at endIndex_.
  bool endMustBeZero_;
  std::size_t endIndex_;
  // The first byte an entry's name must start with, in either case when the
  // case is folded.
  unsigned char firstByte_ = 0;
  unsigned char otherCaseFirstByte_ = 0;
};

}  // namespace qiro
