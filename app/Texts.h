#pragma once

#include "platform/Text.h"

namespace qiro::texts {

// The program's own texts, as code page 936 bytes so that they are the same
// whatever the compiler's source and execution character sets. Each line's
// comment shows the text; a unit test decodes every one and compares.

// The window's caption, also the tip of its notification-area icon.
inline constexpr TextView kWindowCaption =
    "QiroUlvane-\xB3\xCC\xD0\xF2\xD3\xC5\xBB\xAF";  // QiroUlvane-程序优化
inline constexpr TextView kChooserLabel =
    "\xB3\xCC\xD0\xF2\xBD\xF8\xB3\xCC\xA3\xBA";  // 程序进程：
inline constexpr TextView kOptionsLabel =
    "\xD3\xC5\xBB\xAF\xC0\xE0\xD0\xCD\xA3\xBA";  // 优化类型：
inline constexpr TextView kCpuOptionText =
    "\xD3\xC5\xBB\xAF"
    "CPU";  // 优化CPU
inline constexpr TextView kRamOptionText =
    "\xD3\xC5\xBB\xAF\xC4\xDA\xB4\xE6\xA3\xA8\xC7\xEB\xCE\xF0\xB6\xD4\xB4\xF3"
    "\xD0\xCD\xD3\xCE\xCF\xB7\xC6\xF4\xD3\xC3\xA3\xA9";  // 优化内存（请勿对大型游戏启用）
// The switch's caption while it is off: the next press switches on.
inline constexpr TextView kSwitchOnCaption =
    "\xBF\xAA\xCA\xBC\xD3\xC5\xBB\xAF";  // 开始优化
// The switch's caption while it is on.
inline constexpr TextView kSwitchOffCaption =
    "\xB9\xD8\xB1\xD5\xD3\xC5\xBB\xAF";  // 关闭优化
inline constexpr TextView kHideButtonText =
    "\xD7\xEE\xD0\xA1\xBB\xAF";  // 最小化
inline constexpr TextView kStartupNoticeText =
    "\xC7\xEB\xC8\xB7\xB1\xA3Qiro\xD2\xD1\xBB\xF1\xB5\xC3\xB9\xDC\xC0\xED\xD4"
    "\xB1\xC8\xA8\xCF\xDE\xA3\xAC\xB7\xF1\xD4\xF2\xD3\xC5\xBB\xAF\xBD\xAB\xBB"
    "\xE1\xCA\xA7\xD0\xA7\xA3\xA1";  // 请确保Qiro已获得管理员权限，否则优化将会失效！
inline constexpr TextView kStartupNoticeTitle = "\xD7\xA2\xD2\xE2";  // 注意
inline constexpr TextView kClosingNoticeText =
    "\xD3\xC9\xD3\xDA\xC4\xFA\xB9\xD8\xB1\xD5\xC1\xCB\xD3\xCE\xCF\xB7\xBC\xD3"
    "\xCB\xD9\xB9\xA4\xBE\xDF\xA3\xAC\xCE\xD2\xC3\xC7\xBD\xAB\xCD\xA3\xD6\xB9"
    "\xB6\xD4\xB3\xCC\xD0\xF2\xB5\xC4\xD3\xC5\xBB\xAF";  // 由于您关闭了游戏加速工具，我们将停止对程序的优化
inline constexpr TextView kClosingNoticeTitle = "\xC4\xFA\xBA\xC3";  // 您好
// Shown when the window cannot be built.
inline constexpr TextView kBuildFailedText =
    "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xD6\xF7\xB4\xB0\xBF\xDA\xA3\xAC\xB3\xCC"
    "\xD0\xF2\xBD\xAB\xCD\xCB\xB3\xF6\xA1\xA3";  // 无法创建主窗口，程序将退出。
inline constexpr TextView kBuildFailedTitle = kWindowCaption;
inline constexpr TextView kFontFace =
    "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑

}  // namespace qiro::texts
