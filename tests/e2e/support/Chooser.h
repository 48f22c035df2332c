#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/Eventually.h"

namespace qiro::e2e {

// Opens the chooser's list as a click on it would (the program refills it
// before it shows), reads the items, and closes the list again.
::testing::AssertionResult OpenAndReadList(HWND chooser,
                                           std::vector<std::wstring>& items);

// Selects the item at that index without a notification, as Windows does
// for CB_SETCURSEL; false if the chooser refused.
bool SelectItem(HWND chooser, int index);

// The index of the first, or the last, item with that text; -1 if none.
int FirstIndexOf(const std::vector<std::wstring>& items,
                 const std::wstring& text);
int LastIndexOf(const std::vector<std::wstring>& items,
                const std::wstring& text);

std::vector<std::string> Utf8All(const std::vector<std::wstring>& texts);

}  // namespace qiro::e2e
