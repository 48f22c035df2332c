#include "platform/win32/Win32WindowToolkit.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "platform/win32/CodePage.h"
#include "platform/win32/ControlWindows.h"

namespace qiro {
namespace {

using win32::kProgramCodePage;
using win32::kSystemCodePage;
using win32::Widen;

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr COLORREF kTextColour = RGB(0, 0, 0);

COLORREF ColourOf(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Left and top that centre a box of this size on the primary screen.
POINT CentredOnScreen(int width, int height) {
  return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
          (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

win32::OwnedIcon LoadIconResource(HINSTANCE instance, int id, int sizeMetric) {
  return win32::OwnedIcon(static_cast<HICON>(LoadImageW(
      instance, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(sizeMetric),
      GetSystemMetrics(sizeMetric), LR_DEFAULTCOLOR)));
}

bool IsCloseKey(const MSG& message) {
  return message.message == WM_SYSKEYDOWN && message.wParam == VK_F4 &&
         (HIWORD(message.lParam) & KF_ALTDOWN) != 0;
}

// The window itself or one of its controls.
bool IsOurs(HWND window, HWND target) {
  return window != nullptr &&
         (target == window || IsChild(window, target) != FALSE);
}

// The control of that name, and of that kind when one is given; const or
// not as the table is.
template <typename Controls>
auto FindControl(Controls& controls, const ControlName& name,
                 std::optional<ControlKind> kind) {
  const auto found = std::find_if(
      std::begin(controls), std::end(controls), [&](const auto& control) {
        return control.layout.name == name &&
               (!kind || control.layout.kind == *kind);
      });
  return found != std::end(controls) ? &*found : nullptr;
}

// The event that a control's WM_COMMAND notification raises, by its kind.
std::optional<Event> CommandEventOf(ControlKind kind, int notification) {
  if (kind == ControlKind::PushButton && notification == BN_CLICKED) {
    return Event::Clicked;
  }
  // Sent before the list shows, so that its handler can refill it.
  if (kind == ControlKind::DropDownList && notification == CBN_DROPDOWN) {
    return Event::ListOpening;
  }
  return std::nullopt;
}

}  // namespace

Win32WindowToolkit::Win32WindowToolkit(HINSTANCE instance, int iconResourceId)
    : instance_(instance), iconResourceId_(iconResourceId) {}

Win32WindowToolkit::~Win32WindowToolkit() {
  // The icon leaves the notification area before its window goes.
  trayIcon_.reset();
  window_.Reset();
}

void Win32WindowToolkit::Prepare() {
  INITCOMMONCONTROLSEX commonControls{};
  commonControls.dwSize = sizeof(commonControls);
  commonControls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&commonControls);
  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  windowClass_.reset();
  bigIcon_ = LoadIconResource(instance_, iconResourceId_, SM_CXICON);
  smallIcon_ = LoadIconResource(instance_, iconResourceId_, SM_CXSMICON);
  windowClass_.emplace(instance_, kWindowClassName, &WindowProcedure,
                       bigIcon_.Get(), smallIcon_.Get());
}

bool Win32WindowToolkit::BuildWindow(const WindowLayout& layout,
                                     EventBindings bindings) {
  if (!windowClass_ || !*windowClass_ || window_) {
    return false;
  }
  windowName_ = layout.name;
  windowCaption_ = Text(layout.caption);
  closesOnEscape_ = layout.closesOnEscape;
  background_ = ColourOf(layout.backgroundRgb);
  backgroundBrush_.Reset(CreateSolidBrush(background_));
  font_ = win32::CreateControlFont(layout.font);
  phase_ = Phase::Building;

  const POINT topLeft = CentredOnScreen(layout.width, layout.height);
  window_.Reset(
      CreateWindowExW(layout.topmost ? WS_EX_TOPMOST : 0, windowClass_->Name(),
                      Widen(layout.caption, kProgramCodePage).c_str(),
                      kWindowStyle, topLeft.x, topLeft.y, layout.width,
                      layout.height, nullptr, nullptr, instance_, this));
  if (!window_ || !CreateControls(layout.controls)) {
    DiscardWindow();
    return false;
  }
  for (const Control& control : controls_) {
    if (control.window != nullptr) {
      ShowWindow(control.window, SW_SHOWNA);
    }
  }
  // The shell of another integrity level may still call back.
  ChangeWindowMessageFilterEx(window_.Get(), taskbarCreatedMessage_,
                              MSGFLT_ALLOW, nullptr);
  ChangeWindowMessageFilterEx(window_.Get(), kTrayCallbackMessage, MSGFLT_ALLOW,
                              nullptr);

  bindings_ = std::move(bindings);
  // Its handler runs while nothing of the window is on the screen.
  Raise(windowName_, Event::Created);
  phase_ = Phase::Running;
  ShowWindow(window_.Get(), SW_SHOWNORMAL);
  SetForegroundWindow(window_.Get());
  return true;
}

bool Win32WindowToolkit::CreateControls(
    std::span<const ControlLayout> layouts) {
  for (std::size_t index = 0; index < layouts.size(); ++index) {
    Control control;
    control.layout = layouts[index];
    control.id = kFirstControlId + static_cast<int>(index);
    control.caption = Text(control.layout.text);
    if (control.layout.kind == ControlKind::Timer) {
      control.period = std::max(control.layout.period, 0);
      if (!StartTimer(control)) {
        return false;
      }
    } else {
      control.window = win32::CreateControlWindow(window_.Get(), control.layout,
                                                  control.id, ControlFont());
      if (control.window == nullptr) {
        return false;
      }
    }
    controls_.push_back(std::move(control));
  }
  return true;
}

// A timer of period 0 is stopped, which always succeeds.
bool Win32WindowToolkit::StartTimer(const Control& timer) {
  return timer.period <= 0 ||
         SetTimer(window_.Get(), static_cast<UINT_PTR>(timer.id),
                  static_cast<UINT>(timer.period), nullptr) != 0;
}

// A window that could not be built goes without any event, and without
// ending the message loop: the caller may still show a message box.
void Win32WindowToolkit::DiscardWindow() {
  window_.Reset();
  controls_.clear();
  phase_ = Phase::Idle;
}

void Win32WindowToolkit::RunEventLoop() {
  if (!window_) {
    return;
  }
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsCloseKey(message) && IsOurs(window_.Get(), message.hwnd)) {
      // Some combo boxes keep every WM_SYSKEYDOWN to themselves, so Alt+F4
      // is turned into Close here, whichever control has the focus.
      SendMessageW(window_.Get(), WM_SYSCOMMAND, SC_CLOSE, 0);
      continue;
    }
    // The dialog manager gives Tab, Esc and Enter their usual meaning.
    if (window_ && IsDialogMessageW(window_.Get(), &message) != FALSE) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK Win32WindowToolkit::WindowProcedure(HWND window, UINT message,
                                                     WPARAM wParam,
                                                     LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* toolkit = reinterpret_cast<Win32WindowToolkit*>(
      GetWindowLongPtrW(window, GWLP_USERDATA));
  if (toolkit == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    toolkit->OnFinalMessage();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return toolkit->HandleMessage(window, message, wParam, lParam);
}

LRESULT Win32WindowToolkit::HandleMessage(HWND window, UINT message,
                                          WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return OnControlColour(reinterpret_cast<HDC>(wParam),
                             reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND:
      if (OnEraseBackground(window, reinterpret_cast<HDC>(wParam))) {
        return 1;
      }
      break;
    case WM_ACTIVATE:
      // DefWindowProc then gives the window the focus, which WM_SETFOCUS
      // passes on.
      if (LOWORD(wParam) == WA_INACTIVE) {
        RememberFocus();
      }
      break;
    case WM_SETFOCUS:
      PassFocusOn(window);
      return 0;
    case WM_SIZE:
      // Restored from minimised, the window may hold the focus itself.
      if (wParam == SIZE_RESTORED && GetFocus() == window) {
        PassFocusOn(window);
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case kTrayCallbackMessage:
      OnTrayCallback(lParam);
      return 0;
    default:
      if (message == taskbarCreatedMessage_ && message != 0) {
        OnTaskbarCreated();
        return 0;
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Win32WindowToolkit::OnCommand(int id, int notification) {
  // IDCANCEL and IDOK come from the dialog manager for Esc and Enter; no
  // control has these IDs.
  if (id == IDCANCEL) {
    if (closesOnEscape_) {
      Close();
    }
    return;
  }
  if (id == IDOK) {
    PressFocusedButton();
    return;
  }
  const Control* control = FindById(static_cast<UINT_PTR>(id));
  if (control == nullptr) {
    return;
  }
  if (const std::optional<Event> event =
          CommandEventOf(control->layout.kind, notification)) {
    Raise(control->layout.name, *event);
  }
}

void Win32WindowToolkit::PressFocusedButton() {
  const Control* focused = FindByWindow(GetFocus());
  if (focused != nullptr && focused->layout.kind == ControlKind::PushButton) {
    SendMessageW(focused->window, BM_CLICK, 0, 0);
  }
}

void Win32WindowToolkit::OnTimer(UINT_PTR id) {
  const Control* timer = FindById(id);
  // A tick already queued when the timer was stopped is dropped.
  if (timer != nullptr && timer->layout.kind == ControlKind::Timer &&
      timer->period > 0) {
    Raise(timer->layout.name, Event::Tick);
  }
}

// Black text everywhere; transparent labels paint nothing but their text,
// every other control paints on the window's background.
LRESULT Win32WindowToolkit::OnControlColour(HDC dc, HWND control) {
  SetTextColor(dc, kTextColour);
  const Control* painted = FindByWindow(control);
  if (painted != nullptr &&
      painted->layout.kind == ControlKind::TransparentLabel) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  SetBkColor(dc, background_);
  return reinterpret_cast<LRESULT>(backgroundBrush_.Get());
}

bool Win32WindowToolkit::OnEraseBackground(HWND window, HDC dc) {
  if (!backgroundBrush_) {
    return false;
  }
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, backgroundBrush_.Get());
  return true;
}

void Win32WindowToolkit::RememberFocus() {
  const HWND focus = GetFocus();
  if (IsChild(window_.Get(), focus) != FALSE) {
    lastFocus_ = focus;
  }
}

// The window itself never keeps the focus (it gets it on activation and
// when it is restored): it goes back to the control that had it, or to the
// first tab stop. A minimised window keeps it.
void Win32WindowToolkit::PassFocusOn(HWND window) {
  const HWND focus = IsIconic(window) != FALSE ? nullptr : FocusToRestore();
  if (focus != nullptr) {
    SetFocus(focus);
  }
}

HWND Win32WindowToolkit::FocusToRestore() const {
  if (IsChild(window_.Get(), lastFocus_) != FALSE &&
      IsWindowEnabled(lastFocus_) != FALSE &&
      IsWindowVisible(lastFocus_) != FALSE) {
    return lastFocus_;
  }
  return GetNextDlgTabItem(window_.Get(), nullptr, FALSE);
}

void Win32WindowToolkit::OnTrayCallback(LPARAM lParam) {
  const int action = win32::TrayActionOf(lParam);
  // While closing, the window is on its way out: the icon must not bring
  // it back.
  if (action != 0 && phase_ == Phase::Running) {
    Raise(windowName_, Event::TrayEvent, action);
  }
}

void Win32WindowToolkit::OnTaskbarCreated() {
  if (trayIcon_) {
    trayIcon_->Restore();
  }
}

void Win32WindowToolkit::OnDestroy() {
  if (phase_ != Phase::Building) {
    PostQuitMessage(0);
  }
}

// The window and its controls are gone: nothing may address them any more.
void Win32WindowToolkit::OnFinalMessage() {
  window_.Detach();
  controls_.clear();
  lastFocus_ = nullptr;
}

// The close box, Close in the system menu, Alt+F4 and Esc all come here.
void Win32WindowToolkit::Close() {
  if (phase_ != Phase::Running) {
    return;
  }
  phase_ = Phase::Closing;
  ShowWindow(window_.Get(), SW_HIDE);
  // The controls and their timers live on while its handler runs.
  Raise(windowName_, Event::Destroying);
  trayIcon_.reset();
  window_.Reset();
}

int Win32WindowToolkit::Visible(ControlName window) const {
  return IsWindowVisible(WindowNamed(window)) != FALSE ? 1 : 0;
}

void Win32WindowToolkit::SetVisible(ControlName window, int visible) {
  const HWND shown = WindowNamed(window);
  if (shown == nullptr) {
    return;
  }
  if (visible == 0) {
    ShowWindow(shown, SW_HIDE);
    return;
  }
  ShowWindow(shown, SW_SHOW);
  SetForegroundWindow(shown);
}

void Win32WindowToolkit::SetPosition(ControlName window, int position) {
  const HWND placed = WindowNamed(window);
  if (position != 1 || IsWindowVisible(placed) == FALSE) {
    return;
  }
  if (IsIconic(placed) != FALSE || IsZoomed(placed) != FALSE) {
    ShowWindow(placed, SW_SHOWNOACTIVATE);
  }
  RECT frame{};
  GetWindowRect(placed, &frame);
  const POINT topLeft =
      CentredOnScreen(frame.right - frame.left, frame.bottom - frame.top);
  SetWindowPos(placed, nullptr, topLeft.x, topLeft.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Text Win32WindowToolkit::Caption(ControlName control) const {
  if (control == windowName_) {
    return windowCaption_;
  }
  const Control* captioned = Find(control);
  return captioned != nullptr ? captioned->caption : Text();
}

void Win32WindowToolkit::SetCaption(ControlName button, TextView caption) {
  Control* captioned = Find(button);
  if (captioned == nullptr || captioned->window == nullptr) {
    return;
  }
  captioned->caption = Text(caption);
  SetWindowTextW(captioned->window, Widen(caption, kProgramCodePage).c_str());
}

int Win32WindowToolkit::Checked(ControlName checkBox) const {
  const Control* box = Find(checkBox, ControlKind::CheckBox);
  return box != nullptr &&
                 SendMessageW(box->window, BM_GETCHECK, 0, 0) == BST_CHECKED
             ? 1
             : 0;
}

void Win32WindowToolkit::SetDisabled(ControlName comboBox, int disabled) {
  const Control* combo = Find(comboBox, ControlKind::DropDownList);
  if (combo == nullptr) {
    return;
  }
  if (disabled != 0) {
    // A locked list does not stay open, and the keyboard focus moves on
    // rather than vanishing with the control.
    SendMessageW(combo->window, CB_SHOWDROPDOWN, FALSE, 0);
    if (GetFocus() == combo->window) {
      SetFocus(GetNextDlgTabItem(window_.Get(), combo->window, FALSE));
    }
  }
  EnableWindow(combo->window, disabled == 0 ? TRUE : FALSE);
}

int Win32WindowToolkit::SelectedIndex(ControlName comboBox) const {
  const Control* combo = Find(comboBox, ControlKind::DropDownList);
  if (combo == nullptr) {
    return -1;
  }
  const LRESULT index = SendMessageW(combo->window, CB_GETCURSEL, 0, 0);
  return index >= 0 ? static_cast<int>(index) : -1;
}

void Win32WindowToolkit::SetPeriod(ControlName timer, int milliseconds) {
  Control* clock = Find(timer, ControlKind::Timer);
  const int period = std::max(milliseconds, 0);
  if (clock == nullptr || period == clock->period) {
    return;
  }
  KillTimer(window_.Get(), static_cast<UINT_PTR>(clock->id));
  clock->period = period;
  StartTimer(*clock);
}

void Win32WindowToolkit::ShowMessageBox(TextView text, unsigned flags,
                                        TextView title) {
  // Without an owner, task-modal disables every window of the program for
  // as long as the box is open; its own message loop goes on dispatching
  // the timers' ticks.
  const UINT modality = (flags & MB_MODEMASK) != 0 ? 0 : MB_TASKMODAL;
  MessageBoxW(nullptr, Widen(text, kProgramCodePage).c_str(),
              Widen(title, kProgramCodePage).c_str(), flags | modality);
}

Text Win32WindowToolkit::ItemTextAt(ControlName comboBox, int index) const {
  const Control* combo = Find(comboBox, ControlKind::DropDownList);
  if (combo == nullptr || index < 0 ||
      static_cast<std::size_t>(index) >= combo->items.size()) {
    return {};
  }
  return combo->items[static_cast<std::size_t>(index)];
}

int Win32WindowToolkit::AppendItem(ControlName comboBox, TextView text) {
  Control* combo = Find(comboBox, ControlKind::DropDownList);
  if (combo == nullptr) {
    return -1;
  }
  const std::wstring shown = Widen(text, kSystemCodePage);
  const LRESULT index = SendMessageW(combo->window, CB_ADDSTRING, 0,
                                     reinterpret_cast<LPARAM>(shown.c_str()));
  if (index < 0) {  // CB_ERR or CB_ERRSPACE
    return -1;
  }
  const auto at =
      std::min(static_cast<std::size_t>(index), combo->items.size());
  combo->items.insert(combo->items.begin() + static_cast<std::ptrdiff_t>(at),
                      Text(text));
  return static_cast<int>(index);
}

void Win32WindowToolkit::RemoveAllItems(ControlName comboBox) {
  Control* combo = Find(comboBox, ControlKind::DropDownList);
  if (combo == nullptr) {
    return;
  }
  SendMessageW(combo->window, CB_RESETCONTENT, 0, 0);
  combo->items.clear();
}

void Win32WindowToolkit::ShowTrayIcon(ControlName window,
                                      std::span<const std::byte> iconFile,
                                      TextView tip) {
  const HWND owner = WindowNamed(window);
  if (owner == nullptr) {
    return;
  }
  if (!trayIcon_) {
    trayIcon_.emplace(owner, kTrayCallbackMessage, smallIcon_.Get());
  }
  trayIcon_->Show(iconFile, tip);
}

HWND Win32WindowToolkit::WindowNamed(const ControlName& name) const {
  return name == windowName_ ? window_.Get() : nullptr;
}

const Win32WindowToolkit::Control* Win32WindowToolkit::Find(
    const ControlName& name, std::optional<ControlKind> kind) const {
  return FindControl(controls_, name, kind);
}

Win32WindowToolkit::Control* Win32WindowToolkit::Find(
    const ControlName& name, std::optional<ControlKind> kind) {
  return FindControl(controls_, name, kind);
}

const Win32WindowToolkit::Control* Win32WindowToolkit::FindById(
    UINT_PTR id) const {
  const auto found = std::find_if(
      controls_.begin(), controls_.end(),
      [id](const Control& c) { return static_cast<UINT_PTR>(c.id) == id; });
  return found != controls_.end() ? &*found : nullptr;
}

const Win32WindowToolkit::Control* Win32WindowToolkit::FindByWindow(
    HWND window) const {
  if (window == nullptr) {
    return nullptr;
  }
  const auto found =
      std::find_if(controls_.begin(), controls_.end(),
                   [window](const Control& c) { return c.window == window; });
  return found != controls_.end() ? &*found : nullptr;
}

HFONT Win32WindowToolkit::ControlFont() const {
  return font_ ? font_.Get()
               : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Win32WindowToolkit::Raise(const ControlName& source, Event event,
                               int argument) {
  const auto binding = std::find_if(
      bindings_.begin(), bindings_.end(), [&](const EventBinding& b) {
        return b.source == source && b.event == event && b.handler;
      });
  if (binding != bindings_.end()) {
    binding->handler(argument);
  }
}

}  // namespace qiro
