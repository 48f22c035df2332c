#pragma once

#include "platform/ProcessServices.h"
#include "platform/Text.h"

namespace qiro {

// The longest executable name an entry can carry: its 260-byte field less
// the terminating zero.
inline constexpr std::size_t kMaxExeNameLength = 259;

// The entry's executable name: its field up to the first zero byte. A field
// that the system left without a terminator still gives at most 259 bytes,
// so nothing past the field is ever read. The view points into the entry.
TextView EntryExeName(const ProcessEntry& entry);

// NamesMatch(EntryExeName(entry), wantedName, caseSensitive), without first
// scanning the field for the name's end: the lookup asks this of every entry
// of every snapshot, and most entries are told apart by one or two bytes.
bool EntryNameMatches(const ProcessEntry& entry, TextView wantedName,
                      int caseSensitive);

}  // namespace qiro
