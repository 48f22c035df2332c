#include "app/MainWindowLayout.h"

#include <array>

#include "app/MainWindowControls.h"
#include "app/Texts.h"

namespace qiro {
namespace {

using enum ControlKind;

// clang-format off
constexpr std::array kControls{
//               name                        kind              left top width height text                      checked period          tab stop
  ControlLayout{controls::kChooserLabel,   TransparentLabel,  16,  16, 100,  48, texts::kChooserLabel,   0, 0,              false},
  ControlLayout{controls::kProcessChooser, DropDownList,      80,  29, 232,  20, {},                     0, 0,              true},
  ControlLayout{controls::kOptionsLabel,   TransparentLabel,  16,  56,  64,  48, texts::kOptionsLabel,   0, 0,              false},
  ControlLayout{controls::kCpuOption,      CheckBox,          80,  70,  80,  24, texts::kCpuOptionText,  1, 0,              true},
  ControlLayout{controls::kRamOption,      CheckBox,          80,  96, 224,  24, texts::kRamOptionText,  0, 0,              true},
  ControlLayout{controls::kSwitchButton,   PushButton,        88, 136,  80,  32, texts::kSwitchOnCaption, 0, 0,             true},
  ControlLayout{controls::kHideButton,     PushButton,       192, 136,  80,  32, texts::kHideButtonText, 0, 0,              true},
  ControlLayout{controls::kTrimTimer,      Timer,              0,   0,   0,   0, {},                     0, 0,              false},
  ControlLayout{controls::kOwnTrimTimer,   Timer,              0,   0,   0,   0, {},                     0, kTrimPeriodMs,  false},
};
// clang-format on

constexpr FontLayout kControlFont{
    .faceName = texts::kFontFace,
    .height = -12,
    .width = 0,
    .weight = 400,
    .italic = false,
    .underline = false,
    .strikeOut = false,
    .charSet = 134,  // GB2312
    .outPrecision = 3,
    .clipPrecision = 2,
    .quality = 1,
    .pitchAndFamily = 0x22,  // variable pitch, Swiss family
};

constexpr WindowLayout kMainWindow{
    .name = controls::kMainWindow,
    .caption = texts::kWindowCaption,
    .width = 380,
    .height = 242,
    .topmost = true,
    .closesOnEscape = true,
    .backgroundRgb = 0xFFFFFF,
    .font = kControlFont,
    .controls = kControls,
};

}  // namespace

const WindowLayout& MainWindowLayout() { return kMainWindow; }

}  // namespace qiro
