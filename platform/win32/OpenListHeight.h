#pragma once

#include <windows.h>

namespace qiro::win32 {

// Makes the open list of a drop-down list comboBox reach droppedHeight
// pixels down from the top of the closed field whenever it opens below the
// field and has the items to fill that far. Some combo boxes (Wine's among
// them) hang the list a pixel short of the height the control was given;
// where the list already spans it, nothing changes. False if the list
// cannot be watched.
bool KeepOpenListHeight(HWND comboBox, int droppedHeight);

}  // namespace qiro::win32
