#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/WindowToolkit.h"
#include "platform/win32/Owned.h"
#include "platform/win32/TrayIcon.h"
#include "platform/win32/WindowClass.h"

namespace qiro {

// The window toolkit on Win32, for one top-level window built from its
// layout. What a program driving it from outside can rely on:
//
// - The window's class is kWindowClassName; its title is the layout's
//   caption.
// - The child control of layout.controls[i] has the ID kFirstControlId + i
//   (GetDlgItem); a timer at index i is the window's timer of that same ID.
//   Labels are "Static", check boxes and push buttons "Button", drop-down
//   lists "ComboBox" windows.
// - The notification-area icon is the window's icon of ID 1, and calls back
//   with kTrayCallbackMessage (version 4: the mouse message in the low word
//   of lParam).
// - Message boxes have no owner and are task-modal: every window of the
//   thread is disabled while one is open.
class Win32WindowToolkit final : public WindowToolkit {
 public:
  static constexpr int kFirstControlId = 100;
  static constexpr UINT kTrayCallbackMessage = WM_APP + 1;
  static constexpr LPCWSTR kWindowClassName = L"QiroUlvaneWindow";

  // The window's title-bar and task-bar icon is the module's icon resource
  // iconResourceId.
  Win32WindowToolkit(HINSTANCE instance, int iconResourceId);
  ~Win32WindowToolkit() override;

  void Prepare() override;
  bool BuildWindow(const WindowLayout& layout, EventBindings bindings) override;
  void RunEventLoop() override;

  [[nodiscard]] int Visible(ControlName window) const override;
  void SetVisible(ControlName window, int visible) override;
  void SetPosition(ControlName window, int position) override;
  [[nodiscard]] Text Caption(ControlName control) const override;
  void SetCaption(ControlName button, TextView caption) override;
  [[nodiscard]] int Checked(ControlName checkBox) const override;
  void SetDisabled(ControlName comboBox, int disabled) override;
  [[nodiscard]] int SelectedIndex(ControlName comboBox) const override;
  void SetPeriod(ControlName timer, int milliseconds) override;
  void ShowMessageBox(TextView text, unsigned flags, TextView title) override;
  [[nodiscard]] Text ItemTextAt(ControlName comboBox, int index) const override;
  int AppendItem(ControlName comboBox, TextView text) override;
  void RemoveAllItems(ControlName comboBox) override;
  void ShowTrayIcon(ControlName window, std::span<const std::byte> iconFile,
                    TextView tip) override;

 private:
  // One row of the layout with what the toolkit keeps of it: the caption
  // last set and the combo box's items as the bytes they were given (the
  // control itself holds them converted for display).
  struct Control {
    ControlLayout layout;
    int id = 0;
    HWND window = nullptr;  // none for a timer
    Text caption;
    int period = 0;
    std::vector<Text> items;
  };

  // Building: until Created has returned. Closing: from the first close
  // request on; later ones are ignored.
  enum class Phase { Idle, Building, Running, Closing };

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message,
                                          WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam);
  void OnCommand(int id, int notification);
  void OnTimer(UINT_PTR id);
  LRESULT OnControlColour(HDC dc, HWND control);
  bool OnEraseBackground(HWND window, HDC dc);
  void RememberFocus();
  void PassFocusOn(HWND window);
  void OnTrayCallback(LPARAM lParam);
  void OnTaskbarCreated();
  void OnDestroy();
  void OnFinalMessage();

  bool CreateControls(std::span<const ControlLayout> layouts);
  bool StartTimer(const Control& timer);
  void DiscardWindow();
  void Close();
  void PressFocusedButton();
  [[nodiscard]] HWND FocusToRestore() const;

  [[nodiscard]] HWND WindowNamed(const ControlName& name) const;
  // The control of that name, and of that kind when one is given.
  [[nodiscard]] const Control* Find(
      const ControlName& name,
      std::optional<ControlKind> kind = std::nullopt) const;
  Control* Find(const ControlName& name,
                std::optional<ControlKind> kind = std::nullopt);
  [[nodiscard]] const Control* FindById(UINT_PTR id) const;
  [[nodiscard]] const Control* FindByWindow(HWND window) const;
  [[nodiscard]] HFONT ControlFont() const;
  void Raise(const ControlName& source, Event event, int argument = 0);

  HINSTANCE instance_;
  int iconResourceId_;
  UINT taskbarCreatedMessage_ = 0;
  win32::OwnedIcon bigIcon_;
  win32::OwnedIcon smallIcon_;
  std::optional<win32::WindowClass> windowClass_;

  ControlName windowName_;
  Text windowCaption_;
  bool closesOnEscape_ = false;
  COLORREF background_ = RGB(255, 255, 255);
  win32::OwnedBrush backgroundBrush_;
  win32::OwnedFont font_;
  EventBindings bindings_;
  std::vector<Control> controls_;
  Phase phase_ = Phase::Idle;
  HWND lastFocus_ = nullptr;
  win32::OwnedWindow window_;
  std::optional<win32::TrayIcon> trayIcon_;
};

}  // namespace qiro
