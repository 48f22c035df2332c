#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace qiro {

// A window or control is addressed by the name its layout gives it.
struct ControlName {
  std::string_view value;
  friend bool operator==(const ControlName&, const ControlName&) = default;
};

enum class ControlKind {
  TransparentLabel,  // paints only its text, never takes the focus
  DropDownList,      // combo box the user can only pick from, unsorted
  CheckBox,          // toggles when clicked, box left of the text
  PushButton,        // ordinary button, not the default one
  Timer,             // not shown; ticks every period while it is above 0
};

// One row of the layout table. Positions are client coordinates of the
// window, in pixels. Texts are code page 936.
struct ControlLayout {
  ControlName name;
  ControlKind kind = ControlKind::TransparentLabel;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  TextView text;
  int checked = 0;  // check boxes: initial Checked
  int period = 0;   // timers: initial Period in milliseconds
  bool tabStop = false;
};

// The controls' font, field for field a LOGFONT; the face name is code
// page 936.
struct FontLayout {
  TextView faceName;
  int height = 0;
  int width = 0;
  int weight = 0;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
};

// The whole of a top-level window: its own settings and its controls. The
// frame is fixed, with a title bar, a system menu and a close box only.
struct WindowLayout {
  ControlName name;
  TextView caption;  // code page 936
  int width = 0;     // outer size, frame and title bar included
  int height = 0;
  bool topmost = false;
  bool closesOnEscape = false;
  std::uint32_t backgroundRgb = 0xFFFFFF;  // 0xRRGGBB
  FontLayout font;
  std::span<const ControlLayout> controls;
};

enum class Event {
  Created,      // window: once, its controls exist, before it is shown
  Destroying,   // window: being destroyed, its controls still exist
  TrayEvent,    // window: on the notification-area icon, with an action
  ListOpening,  // combo box: the user opens the list, before it shows
  Clicked,      // button: pressed
  Tick,         // timer: one period has passed
};

// Actions of TrayEvent.
inline constexpr int kTrayLeftButtonUp = 1;  // twice in a double click
inline constexpr int kTrayDoubleClick = 2;
inline constexpr int kTrayRightButtonUp = 3;  // or the context-menu key

// A handler gets the event's argument: the action for TrayEvent, else 0.
using EventHandler = std::function<void(int argument)>;

struct EventBinding {
  ControlName source;
  Event event = Event::Created;
  EventHandler handler;
};

using EventBindings = std::vector<EventBinding>;

}  // namespace qiro
