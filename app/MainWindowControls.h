#pragma once

#include "platform/WindowLayout.h"

namespace qiro::controls {

// The window and its controls, by the names the layout gives them. Every
// handler addresses them through these constants.
inline constexpr ControlName kMainWindow{"MainWindow"};
inline constexpr ControlName kChooserLabel{"透明标签1"};
inline constexpr ControlName kProcessChooser{"进程组合框"};
inline constexpr ControlName kOptionsLabel{"透明标签2"};
inline constexpr ControlName kCpuOption{"cpu"};
inline constexpr ControlName kRamOption{"ram"};
inline constexpr ControlName kSwitchButton{"按钮1"};
inline constexpr ControlName kHideButton{"按钮2"};
inline constexpr ControlName kTrimTimer{"内存优化"};
inline constexpr ControlName kOwnTrimTimer{"时钟1"};

}  // namespace qiro::controls
