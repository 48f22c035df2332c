#include "app/TrayHandlers.h"

#include "app/MainWindowControls.h"

namespace qiro {
namespace {

constexpr int kHidden = 0;
constexpr int kShown = 1;
constexpr int kCentred = 1;

}  // namespace

void HideToTray(WindowToolkit& toolkit, std::span<const std::byte> iconFile) {
  // Hidden first, so that the window is gone even if the icon cannot be
  // shown.
  toolkit.SetVisible(controls::kMainWindow, kHidden);
  const Text tip = toolkit.Caption(controls::kMainWindow);
  toolkit.ShowTrayIcon(controls::kMainWindow, iconFile, tip);
}

void OnTrayEvent(WindowToolkit& toolkit, int action) {
  if (action != kTrayLeftButtonUp) {
    return;
  }
  if (toolkit.Visible(controls::kMainWindow) == kShown) {
    toolkit.SetVisible(controls::kMainWindow, kHidden);
    return;
  }
  toolkit.SetVisible(controls::kMainWindow, kShown);
  toolkit.SetPosition(controls::kMainWindow, kCentred);
}

}  // namespace qiro
