#include "process/EntryExeName.h"

#include <cstring>

#include "process/NameComparison.h"

namespace qiro {

static_assert(kMaxExeNameLength < ProcessEntry{}.exeFile.size());

TextView EntryExeName(const ProcessEntry& entry) {
  const char* const field = entry.exeFile.data();
  const void* const terminator = std::memchr(field, 0, kMaxExeNameLength);
  const std::size_t length =
      terminator != nullptr ? static_cast<std::size_t>(
                                  static_cast<const char*>(terminator) - field)
                            : kMaxExeNameLength;
  return {field, length};
}

bool EntryNameMatches(const ProcessEntry& entry, TextView wantedName,
                      int caseSensitive) {
  const std::size_t length = wantedName.size();
  if (length > kMaxExeNameLength) {
    return false;
  }
  // The entry's name has the wanted length only if the field ends there.
  const char* const field = entry.exeFile.data();
  if (length < kMaxExeNameLength && field[length] != '\0') {
    return false;
  }
  // Matching bytes, or lowered bytes, have their zeros in the same places,
  // so a match with a wanted name free of zeros leaves no zero before the
  // field's end either: the entry's name is then exactly these bytes.
  return NamesMatch(TextView(field, length), wantedName, caseSensitive) &&
         wantedName.find('\0') == TextView::npos;
}

}  // namespace qiro
