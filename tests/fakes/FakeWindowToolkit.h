#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/WindowToolkit.h"

namespace qiro::testing {

struct MessageBoxRecord {
  Text text;
  unsigned flags = 0;
  Text title;
  std::chrono::milliseconds openedAt{0};
};

struct TrayIconState {
  std::vector<std::byte> iconFile;
  Text tip;
  int showCalls = 0;  // every ShowTrayIcon call, the first included
};

// A window toolkit in memory, on a virtual clock. It keeps the state of the
// window and its controls, raises the bound events, and lets a test act as
// the user would: each user action returns false, and does nothing, where a
// real user could not do it (a disabled control, a hidden window, a message
// box in the way). Misuse by the program under test, such as an unknown
// control name, fails the running test.
class FakeWindowToolkit final : public WindowToolkit {
 public:
  using Milliseconds = std::chrono::milliseconds;

  FakeWindowToolkit() = default;

  // WindowToolkit
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

  // How the test plays the user.
  // Runs while each message box is open, inside ShowMessageBox; returning
  // dismisses the box. Without it every box is dismissed at once.
  void WhileMessageBoxOpen(std::function<void(const MessageBoxRecord&)> user);
  // Runs inside RunEventLoop; it should end by closing the window.
  void WhileEventLoopRuns(std::function<void()> user);
  // The next BuildWindow fails.
  void FailBuild() { failBuild_ = true; }
  // AppendItem refuses an item when this says so; appendIndex counts the
  // appends since the items were last removed.
  void RefuseAppendItems(std::function<bool(int appendIndex, TextView text)>);
  // The screen the window is centred on.
  void SetScreenSize(int width, int height);

  // User actions.
  bool Click(ControlName control);  // buttons: Clicked; check boxes: toggle
  bool OpenList(ControlName comboBox);
  bool Select(ControlName comboBox, int index);
  bool ClickTrayIcon(int action);
  bool Close();  // close box, Alt+F4, Esc: all the same path
  bool DragWindowTo(int left, int top);
  bool Minimise();
  // Moves the virtual clock on, delivering the ticks of running timers in
  // time order. Allowed inside a message box too: its modal loop delivers
  // ticks as the real one does.
  void AdvanceClock(Milliseconds duration);

  // Inspection.
  [[nodiscard]] Milliseconds Now() const { return now_; }
  // What happened, in order, in words such as "Created raised"; ticks are
  // counted, not logged.
  [[nodiscard]] const std::vector<std::string>& Log() const { return log_; }
  [[nodiscard]] bool WindowExists() const { return window_.has_value(); }
  [[nodiscard]] bool IsMinimised() const;
  [[nodiscard]] int Left() const;
  [[nodiscard]] int Top() const;
  [[nodiscard]] int Period(ControlName timer) const;
  [[nodiscard]] int TickCount(ControlName timer) const;
  [[nodiscard]] bool IsDisabled(ControlName control) const;
  [[nodiscard]] std::vector<Text> Items(ControlName comboBox) const;
  [[nodiscard]] bool IsMessageBoxOpen() const { return openMessageBoxes_ > 0; }
  [[nodiscard]] const std::vector<MessageBoxRecord>& MessageBoxes() const {
    return messageBoxes_;
  }
  // The notification-area icon while there is one.
  [[nodiscard]] const std::optional<TrayIconState>& TrayIcon() const {
    return trayIcon_;
  }
  // Tick counts of every timer as they were when the window was destroyed.
  [[nodiscard]] int FinalTickCount(ControlName timer) const;

 private:
  struct ControlState {
    const ControlLayout* layout = nullptr;
    Text caption;
    int checked = 0;
    bool disabled = false;
    std::vector<Text> items;
    int selectedIndex = -1;
    int appendsSinceCleared = 0;
    int period = 0;
    Milliseconds nextTick{0};
    int tickCount = 0;
  };
  struct WindowState {
    const WindowLayout* layout = nullptr;
    bool visible = false;
    bool minimised = false;
    bool closing = false;
    int left = 0;
    int top = 0;
    std::vector<ControlState> controls;
  };

  void Record(std::string entry) { log_.push_back(std::move(entry)); }
  void Raise(ControlName source, Event event, int argument = 0);
  [[nodiscard]] bool UserCanReachWindow() const;
  [[nodiscard]] const WindowState& Window(ControlName window) const;
  WindowState& Window(ControlName window);
  [[nodiscard]] const ControlState& Control(ControlName name,
                                            ControlKind kind) const;
  ControlState& Control(ControlName name, ControlKind kind);
  [[nodiscard]] const ControlState* Find(ControlName name) const;
  ControlState* NextDueTimer(Milliseconds until);
  void DestroyWindow();

  std::optional<WindowState> window_;
  EventBindings bindings_;
  std::function<void(const MessageBoxRecord&)> messageBoxUser_;
  std::function<void()> eventLoopUser_;
  std::function<bool(int, TextView)> refuseAppend_;
  std::optional<TrayIconState> trayIcon_;
  std::vector<MessageBoxRecord> messageBoxes_;
  std::vector<std::pair<std::string, int>> finalTickCounts_;
  std::vector<std::string> log_;
  Milliseconds now_{0};
  int openMessageBoxes_ = 0;
  int screenWidth_ = 1024;
  int screenHeight_ = 700;
  bool failBuild_ = false;
  // Stand-ins returned after a misuse has failed the test, so that the
  // program under test can go on without touching real state.
  ControlLayout missingLayout_;
  mutable ControlState missingControl_;
  mutable WindowState missingWindow_;
};

}  // namespace qiro::testing
