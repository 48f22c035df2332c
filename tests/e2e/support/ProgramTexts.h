#pragma once

#include <string_view>

namespace qiro::e2e::onscreen {

// The texts a user of QiroUlvane reads on the screen, written down here
// independently of the program's own byte constants, so that a wrong byte
// there shows up as a wrong text here.
inline constexpr std::wstring_view kCaption = L"QiroUlvane-程序优化";
inline constexpr std::wstring_view kStartupTitle = L"注意";
inline constexpr std::wstring_view kStartupText =
    L"请确保Qiro已获得管理员权限，否则优化将会失效！";
inline constexpr std::wstring_view kClosingTitle = L"您好";
inline constexpr std::wstring_view kClosingText =
    L"由于您关闭了游戏加速工具，我们将停止对程序的优化";
inline constexpr std::wstring_view kChooserLabel = L"程序进程：";
inline constexpr std::wstring_view kOptionsLabel = L"优化类型：";
inline constexpr std::wstring_view kCpuOption = L"优化CPU";
inline constexpr std::wstring_view kRamOption =
    L"优化内存（请勿对大型游戏启用）";
inline constexpr std::wstring_view kSwitchOn = L"开始优化";
inline constexpr std::wstring_view kSwitchOff = L"关闭优化";
inline constexpr std::wstring_view kHide = L"最小化";

}  // namespace qiro::e2e::onscreen
