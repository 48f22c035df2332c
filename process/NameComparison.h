#pragma once

#include "platform/Text.h"

namespace qiro {

// Process names are ANSI bytes of whatever code page the system runs with,
// so case is folded without consulting one: only A to Z become a to z, and a
// byte of 0x80 or above starts a two-byte character that is left as it is
// (in code page 936 its second byte may well lie between 'A' and 'Z').

// A copy of name with that folding applied; same length as name.
Text LowerName(TextView name);

// True when the two names are equal once both are lowered. Allocates
// nothing: it runs for every snapshot entry at every trimming tick.
bool NamesEqualIgnoringCase(TextView left, TextView right);

// The comparison of FindProcessId: exact when caseSensitive is not 0, else
// NamesEqualIgnoringCase.
bool NamesMatch(TextView entryName, TextView wantedName, int caseSensitive);

}  // namespace qiro
