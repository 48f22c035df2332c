#pragma once

#include <cstddef>
#include <span>

#include "platform/Text.h"
#include "platform/WindowLayout.h"

namespace qiro {

// The window toolkit that carries the program's one window, its controls,
// timers, message boxes, notification-area icon and event loop. Everything
// runs on one thread; events are handled one at a time, each to completion,
// and timer ticks go on being delivered while a message box is open.
//
// Texts are code page 936, except the combo box's items: they are process
// names in the system's ANSI code page, kept byte for byte.
class WindowToolkit {
 public:
  WindowToolkit() = default;
  WindowToolkit(const WindowToolkit&) = delete;
  WindowToolkit& operator=(const WindowToolkit&) = delete;
  WindowToolkit(WindowToolkit&&) = delete;
  WindowToolkit& operator=(WindowToolkit&&) = delete;
  virtual ~WindowToolkit() = default;

  // Start-up: prepare the toolkit, then build the window. Building creates
  // it hidden, centred and topmost, creates its controls (a timer with a
  // period above 0 starts at once), raises Created and, when that handler
  // has returned, shows and activates the window. False if the window could
  // not be built; Created is then not raised.
  virtual void Prepare() = 0;
  virtual bool BuildWindow(const WindowLayout& layout,
                           EventBindings bindings) = 0;
  // Delivers events until no window of the program is left.
  virtual void RunEventLoop() = 0;

  // Window: Visible (1 while shown, minimised included; writing 0 hides it
  // and its task-bar button, 1 shows and activates it), Caption (read), and
  // Position (writing 1 restores and centres it on the primary screen).
  [[nodiscard]] virtual int Visible(ControlName window) const = 0;
  virtual void SetVisible(ControlName window, int visible) = 0;
  virtual void SetPosition(ControlName window, int position) = 0;

  // Window or button: the caption last set.
  [[nodiscard]] virtual Text Caption(ControlName control) const = 0;
  // Button: sets its caption.
  virtual void SetCaption(ControlName button, TextView caption) = 0;
  // Check box: 1 when ticked, else 0.
  [[nodiscard]] virtual int Checked(ControlName checkBox) const = 0;
  // Combo box: 1 locks it (no input, the list cannot open), 0 enables it.
  virtual void SetDisabled(ControlName comboBox, int disabled) = 0;
  // Combo box: the selected item's index from 0, or -1 if none.
  [[nodiscard]] virtual int SelectedIndex(ControlName comboBox) const = 0;
  // Timer: milliseconds, below 0 taken as 0. The current value changes
  // nothing; another stops the timer and, if above 0, restarts it.
  virtual void SetPeriod(ControlName timer, int milliseconds) = 0;

  // A modal message box; flags 0 give one OK button, no icon and no owner,
  // and no window of the program takes input until it is dismissed.
  virtual void ShowMessageBox(TextView text, unsigned flags,
                              TextView title) = 0;

  // Combo box items. ItemTextAt gives a copy, empty for an index outside
  // 0 to count - 1. AppendItem adds a copy as the last item and gives its
  // index, or -1 if refused. RemoveAllItems also clears the selection.
  [[nodiscard]] virtual Text ItemTextAt(ControlName comboBox,
                                        int index) const = 0;
  virtual int AppendItem(ControlName comboBox, TextView text) = 0;
  virtual void RemoveAllItems(ControlName comboBox) = 0;

  // The window's notification-area icon, from the bytes of an .ico file.
  // The first call adds it; later calls replace its picture and tip. The tip
  // keeps its first 62 bytes. The icon goes when the window is destroyed,
  // after the Destroying handler has returned.
  virtual void ShowTrayIcon(ControlName window,
                            std::span<const std::byte> iconFile,
                            TextView tip) = 0;
};

}  // namespace qiro
