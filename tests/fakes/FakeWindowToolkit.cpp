#include "tests/fakes/FakeWindowToolkit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/TrayTip.h"

namespace qiro::testing {
namespace {

std::string Quoted(ControlName name) {
  return "'" + std::string(name.value) + "'";
}

}  // namespace

void FakeWindowToolkit::Prepare() { Record("toolkit prepared"); }

bool FakeWindowToolkit::BuildWindow(const WindowLayout& layout,
                                    EventBindings bindings) {
  if (window_) {
    ADD_FAILURE() << "BuildWindow called while a window exists";
    return false;
  }
  if (failBuild_) {
    failBuild_ = false;
    Record("window not built");
    return false;
  }
  bindings_ = std::move(bindings);
  WindowState window;
  window.layout = &layout;
  window.left = (screenWidth_ - layout.width) / 2;
  window.top = (screenHeight_ - layout.height) / 2;
  window_ = std::move(window);
  Record("window created hidden");

  for (const ControlLayout& row : layout.controls) {
    ControlState control;
    control.layout = &row;
    control.caption = Text(row.text);
    control.checked = row.checked;
    control.period = std::max(row.period, 0);
    control.nextTick = now_ + Milliseconds(control.period);
    window_->controls.push_back(std::move(control));
  }
  Record("controls created");

  Raise(layout.name, Event::Created);
  window_->visible = true;
  Record("window shown");
  return true;
}

void FakeWindowToolkit::RunEventLoop() {
  Record("event loop started");
  if (eventLoopUser_) {
    eventLoopUser_();
  }
  if (window_) {
    ADD_FAILURE() << "the event loop would never end: the window is still open";
    DestroyWindow();
  }
  Record("event loop ended");
}

int FakeWindowToolkit::Visible(ControlName window) const {
  return Window(window).visible ? 1 : 0;
}

void FakeWindowToolkit::SetVisible(ControlName window, int visible) {
  const bool show = visible != 0;
  WindowState& state = Window(window);
  if (state.visible != show) {
    Record(show ? "window shown" : "window hidden");
  }
  state.visible = show;
}

void FakeWindowToolkit::SetPosition(ControlName window, int position) {
  WindowState& state = Window(window);
  if (position != 1 || !state.visible) {
    return;
  }
  state.minimised = false;
  state.left = (screenWidth_ - state.layout->width) / 2;
  state.top = (screenHeight_ - state.layout->height) / 2;
  Record("window centred");
}

Text FakeWindowToolkit::Caption(ControlName control) const {
  if (window_ && control == window_->layout->name) {
    return Text(window_->layout->caption);
  }
  return Control(control, ControlKind::PushButton).caption;
}

void FakeWindowToolkit::SetCaption(ControlName button, TextView caption) {
  Control(button, ControlKind::PushButton).caption = Text(caption);
}

int FakeWindowToolkit::Checked(ControlName checkBox) const {
  return Control(checkBox, ControlKind::CheckBox).checked;
}

void FakeWindowToolkit::SetDisabled(ControlName comboBox, int disabled) {
  Control(comboBox, ControlKind::DropDownList).disabled = disabled != 0;
}

int FakeWindowToolkit::SelectedIndex(ControlName comboBox) const {
  return Control(comboBox, ControlKind::DropDownList).selectedIndex;
}

void FakeWindowToolkit::SetPeriod(ControlName timer, int milliseconds) {
  ControlState& state = Control(timer, ControlKind::Timer);
  const int period = std::max(milliseconds, 0);
  if (period == state.period) {
    return;
  }
  state.period = period;
  state.nextTick = now_ + Milliseconds(period);
}

void FakeWindowToolkit::ShowMessageBox(TextView text, unsigned flags,
                                       TextView title) {
  const MessageBoxRecord record{Text(text), flags, Text(title), now_};
  messageBoxes_.push_back(record);
  Record("message box opened");
  ++openMessageBoxes_;
  if (messageBoxUser_) {
    messageBoxUser_(record);
  }
  --openMessageBoxes_;
  Record("message box dismissed");
}

Text FakeWindowToolkit::ItemTextAt(ControlName comboBox, int index) const {
  const ControlState& state = Control(comboBox, ControlKind::DropDownList);
  if (index < 0 || static_cast<std::size_t>(index) >= state.items.size()) {
    return {};
  }
  return state.items[static_cast<std::size_t>(index)];
}

int FakeWindowToolkit::AppendItem(ControlName comboBox, TextView text) {
  ControlState& state = Control(comboBox, ControlKind::DropDownList);
  const int appendIndex = state.appendsSinceCleared++;
  if (refuseAppend_ && refuseAppend_(appendIndex, text)) {
    return -1;
  }
  state.items.emplace_back(text);
  return static_cast<int>(state.items.size()) - 1;
}

void FakeWindowToolkit::RemoveAllItems(ControlName comboBox) {
  ControlState& state = Control(comboBox, ControlKind::DropDownList);
  state.items.clear();
  state.selectedIndex = -1;
  state.appendsSinceCleared = 0;
}

void FakeWindowToolkit::ShowTrayIcon(ControlName window,
                                     std::span<const std::byte> iconFile,
                                     TextView tip) {
  Window(window);  // checks the name
  if (!trayIcon_) {
    trayIcon_.emplace();
    Record("tray icon added");
  }
  trayIcon_->iconFile.assign(iconFile.begin(), iconFile.end());
  trayIcon_->tip = Text(KeepWholeCharacters(tip, kTrayTipBytes));
  ++trayIcon_->showCalls;
}

void FakeWindowToolkit::WhileMessageBoxOpen(
    std::function<void(const MessageBoxRecord&)> user) {
  messageBoxUser_ = std::move(user);
}

void FakeWindowToolkit::WhileEventLoopRuns(std::function<void()> user) {
  eventLoopUser_ = std::move(user);
}

void FakeWindowToolkit::RefuseAppendItems(
    std::function<bool(int appendIndex, TextView text)> refuse) {
  refuseAppend_ = std::move(refuse);
}

void FakeWindowToolkit::SetScreenSize(int width, int height) {
  screenWidth_ = width;
  screenHeight_ = height;
}

bool FakeWindowToolkit::Click(ControlName control) {
  const ControlState* found = Find(control);
  if (!UserCanReachWindow() || found == nullptr || found->disabled) {
    return false;
  }
  switch (found->layout->kind) {
    case ControlKind::PushButton:
      Raise(control, Event::Clicked);
      return true;
    case ControlKind::CheckBox: {
      ControlState& box = Control(control, ControlKind::CheckBox);
      box.checked = box.checked == 1 ? 0 : 1;
      return true;
    }
    default:
      return false;
  }
}

bool FakeWindowToolkit::OpenList(ControlName comboBox) {
  const ControlState* found = Find(comboBox);
  if (!UserCanReachWindow() || found == nullptr || found->disabled ||
      found->layout->kind != ControlKind::DropDownList) {
    return false;
  }
  Raise(comboBox, Event::ListOpening);
  return true;
}

bool FakeWindowToolkit::Select(ControlName comboBox, int index) {
  const ControlState* found = Find(comboBox);
  if (!UserCanReachWindow() || found == nullptr || found->disabled ||
      found->layout->kind != ControlKind::DropDownList || index < 0 ||
      static_cast<std::size_t>(index) >= found->items.size()) {
    return false;
  }
  Control(comboBox, ControlKind::DropDownList).selectedIndex = index;
  return true;
}

bool FakeWindowToolkit::ClickTrayIcon(int action) {
  // Once closing has begun the window is on its way out: the icon, still
  // there during the closing notice, no longer brings it back.
  if (!trayIcon_ || !window_ || window_->closing) {
    return false;
  }
  Raise(window_->layout->name, Event::TrayEvent, action);
  return true;
}

bool FakeWindowToolkit::Close() {
  if (!UserCanReachWindow()) {
    return false;
  }
  window_->closing = true;
  SetVisible(window_->layout->name, 0);
  Raise(window_->layout->name, Event::Destroying);
  DestroyWindow();
  return true;
}

bool FakeWindowToolkit::DragWindowTo(int left, int top) {
  if (!UserCanReachWindow()) {
    return false;
  }
  window_->left = left;
  window_->top = top;
  return true;
}

bool FakeWindowToolkit::Minimise() {
  if (!UserCanReachWindow()) {
    return false;
  }
  window_->minimised = true;
  return true;
}

void FakeWindowToolkit::AdvanceClock(Milliseconds duration) {
  const Milliseconds until = now_ + duration;
  while (ControlState* timer = NextDueTimer(until)) {
    now_ = timer->nextTick;
    timer->nextTick += Milliseconds(timer->period);
    ++timer->tickCount;
    Raise(timer->layout->name, Event::Tick);
  }
  now_ = until;
}

bool FakeWindowToolkit::IsMinimised() const {
  return window_ && window_->minimised;
}

int FakeWindowToolkit::Left() const { return window_ ? window_->left : 0; }

int FakeWindowToolkit::Top() const { return window_ ? window_->top : 0; }

int FakeWindowToolkit::Period(ControlName timer) const {
  return Control(timer, ControlKind::Timer).period;
}

int FakeWindowToolkit::TickCount(ControlName timer) const {
  return Control(timer, ControlKind::Timer).tickCount;
}

int FakeWindowToolkit::FinalTickCount(ControlName timer) const {
  for (const auto& [name, count] : finalTickCounts_) {
    if (name == timer.value) {
      return count;
    }
  }
  ADD_FAILURE() << "no final tick count of " << Quoted(timer);
  return 0;
}

bool FakeWindowToolkit::IsDisabled(ControlName control) const {
  const ControlState* found = Find(control);
  if (found == nullptr) {
    ADD_FAILURE() << "no control " << Quoted(control);
    return false;
  }
  return found->disabled;
}

std::vector<Text> FakeWindowToolkit::Items(ControlName comboBox) const {
  return Control(comboBox, ControlKind::DropDownList).items;
}

void FakeWindowToolkit::Raise(ControlName source, Event event, int argument) {
  for (const EventBinding& binding : bindings_) {
    if (binding.source == source && binding.event == event) {
      switch (event) {
        case Event::Created:
          Record("Created raised");
          break;
        case Event::Destroying:
          Record("Destroying raised");
          break;
        default:
          break;
      }
      binding.handler(argument);
    }
  }
}

bool FakeWindowToolkit::UserCanReachWindow() const {
  return window_ && window_->visible && !window_->closing &&
         openMessageBoxes_ == 0;
}

const FakeWindowToolkit::WindowState& FakeWindowToolkit::Window(
    ControlName window) const {
  if (!window_ || window != window_->layout->name) {
    ADD_FAILURE() << "no window " << Quoted(window);
    missingWindow_ = WindowState{};
    return missingWindow_;
  }
  return *window_;
}

FakeWindowToolkit::WindowState& FakeWindowToolkit::Window(ControlName window) {
  return const_cast<WindowState&>(std::as_const(*this).Window(window));
}

const FakeWindowToolkit::ControlState* FakeWindowToolkit::Find(
    ControlName name) const {
  if (!window_) {
    return nullptr;
  }
  for (const ControlState& control : window_->controls) {
    if (control.layout->name == name) {
      return &control;
    }
  }
  return nullptr;
}

const FakeWindowToolkit::ControlState& FakeWindowToolkit::Control(
    ControlName name, ControlKind kind) const {
  const ControlState* found = Find(name);
  if (found == nullptr || found->layout->kind != kind) {
    ADD_FAILURE() << "no control " << Quoted(name) << " of the kind asked for"
                  << (window_ ? "" : " (the window does not exist)");
    missingControl_ = ControlState{};
    missingControl_.layout = &missingLayout_;
    return missingControl_;
  }
  return *found;
}

FakeWindowToolkit::ControlState& FakeWindowToolkit::Control(ControlName name,
                                                            ControlKind kind) {
  return const_cast<ControlState&>(std::as_const(*this).Control(name, kind));
}

FakeWindowToolkit::ControlState* FakeWindowToolkit::NextDueTimer(
    Milliseconds until) {
  if (!window_) {
    return nullptr;
  }
  ControlState* next = nullptr;
  for (ControlState& control : window_->controls) {
    const bool running =
        control.layout->kind == ControlKind::Timer && control.period > 0;
    if (running && control.nextTick <= until &&
        (next == nullptr || control.nextTick < next->nextTick)) {
      next = &control;
    }
  }
  return next;
}

void FakeWindowToolkit::DestroyWindow() {
  if (trayIcon_) {
    trayIcon_.reset();
    Record("tray icon removed");
  }
  finalTickCounts_.clear();
  for (const ControlState& control : window_->controls) {
    if (control.layout->kind == ControlKind::Timer) {
      finalTickCounts_.emplace_back(control.layout->name.value,
                                    control.tickCount);
    }
  }
  window_.reset();
  Record("controls destroyed");
}

}  // namespace qiro::testing
