#include "tests/actions/fakes/ActionFakes.h"

#include <algorithm>

#include "model/Text.h"

namespace norvi::fakes {
namespace {

std::string Utf8(const char16_t* text) {
  return text ? Utf16ToUtf8(text) : "null";
}

bool Contains(const ScreenRect& r, ScreenPoint p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

void InputRecorder::Inject(std::span<const InputEvent> batch) {
  batchSizes.push_back(batch.size());
  for (const InputEvent& e : batch) {
    events.push_back(e);
    times.push_back(clock_.nowMs);
  }
}

void InputRecorder::Pause(uint32_t ms) {
  events.push_back(PauseFor(ms));
  times.push_back(clock_.nowMs);
  clock_.nowMs += ms;
}

// The desktop window is the root, apart from the top-level windows the test adds.
FakeWindowTree::FakeWindowTree(FakeClock& clock) : clock_(clock) {
  desktop = next_++;
  nodes_[desktop] = Node{u"#32769", {0, 0, 1280, 1024}, 0, kNoWindow, {}};
}

WindowHandle FakeWindowTree::Add(std::u16string windowClass, ScreenRect rect, uint32_t style,
                                 WindowHandle parent) {
  const WindowHandle h = next_++;
  nodes_[h] = Node{std::move(windowClass), rect, style, parent, {}};
  (parent == kNoWindow ? topLevel_ : nodes_.at(parent).children).push_back(h);
  return h;
}

void FakeWindowTree::MoveCursor(ScreenPoint to) {
  cursor = to;
  cursorMoves.push_back(to);
}

std::u16string_view FakeWindowTree::ClassOf(WindowHandle w, ClassNameBuffer& buffer) {
  buffer.fill(u'\0');
  auto it = nodes_.find(w);
  if (it == nodes_.end()) return {};
  const size_t n = std::min(it->second.windowClass.size(), buffer.size() - 1);
  std::copy_n(it->second.windowClass.begin(), n, buffer.begin());
  return {buffer.data(), n};
}

uint32_t FakeWindowTree::StyleOf(WindowHandle w) {
  auto it = nodes_.find(w);
  return it == nodes_.end() ? 0 : it->second.style;
}

ScreenRect FakeWindowTree::RectOf(WindowHandle w) {
  auto it = nodes_.find(w);
  return it == nodes_.end() ? ScreenRect{} : it->second.rect;
}

WindowHandle FakeWindowTree::ParentOf(WindowHandle w) {
  auto it = nodes_.find(w);
  return it == nodes_.end() ? kNoWindow : it->second.parent;
}

WindowHandle FakeWindowTree::ChildAt(WindowHandle w, ScreenPoint p) {
  auto it = nodes_.find(w);
  if (it == nodes_.end()) return kNoWindow;
  for (WindowHandle child : it->second.children)
    if (Contains(nodes_.at(child).rect, p)) return child;
  return kNoWindow;
}

const std::vector<WindowHandle>& FakeWindowTree::SiblingsOf(WindowHandle w) const {
  const WindowHandle parent = nodes_.at(w).parent;
  return parent == kNoWindow ? topLevel_ : nodes_.at(parent).children;
}

WindowHandle FakeWindowTree::Related(WindowHandle w, WindowRelation relation) {
  if (nodes_.count(w) == 0) return kNoWindow;
  if (relation == WindowRelation::FirstChild) {
    const auto& children = nodes_.at(w).children;
    return children.empty() ? kNoWindow : children.front();
  }
  const auto& siblings = SiblingsOf(w);
  const auto at = std::find(siblings.begin(), siblings.end(), w);
  if (at == siblings.end()) return kNoWindow;  // the desktop root has no siblings
  if (relation == WindowRelation::Next) return at + 1 == siblings.end() ? kNoWindow : at[1];
  return at == siblings.begin() ? kNoWindow : at[-1];
}

WindowHandle FakeWindowTree::ChildAfter(WindowHandle parent, WindowHandle after) {
  if (after == kNoWindow) return Related(parent, WindowRelation::FirstChild);
  return Related(after, WindowRelation::Next);
}

bool FakeWindowTree::EnumDescendants(WindowHandle parent, EnumCallback callback, void* context) {
  if (enumerationFails || nodes_.count(parent) == 0) return false;
  Enumerate(parent, callback, context);
  return true;
}

// Depth first, parents before their children; false once the callback asked to stop.
bool FakeWindowTree::Enumerate(WindowHandle parent, EnumCallback callback, void* context) const {
  for (WindowHandle child : nodes_.at(parent).children)
    if (!callback(child, context) || !Enumerate(child, callback, context)) return false;
  return true;
}

void FakeWindowTree::Post(WindowHandle w, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  messages.push_back({false, w, message, wParam, lParam, clock_.nowMs});
}

intptr_t FakeWindowTree::Send(WindowHandle w, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  messages.push_back({true, w, message, wParam, lParam, clock_.nowMs});
  return 0;
}

int32_t FakeWindowTree::Metric(int32_t index) {
  return index == kMetricSwapButton && buttonsSwapped ? 1 : 0;
}

HtmlScrollResult FakeWindowTree::ScrollHtmlView(WindowHandle w, int32_t dx) {
  htmlScrolls.emplace_back(w, dx);
  return htmlResult;
}

bool SystemRecorder::EnterApartment() {
  calls.push_back("EnterApartment");
  return true;
}

void SystemRecorder::Execute(WindowHandle owner, const char16_t* verb, const char16_t* file,
                             const char16_t* parameters, const char16_t* directory, int32_t show) {
  calls.push_back("Execute " + std::to_string(owner) + " " + Utf8(verb) + " [" + Utf8(file) + "] " +
                  Utf8(parameters) + " " + Utf8(directory) + " " + std::to_string(show));
}

void SystemRecorder::Sound(const char16_t* path, uintptr_t module, uint32_t flags) {
  calls.push_back("Sound [" + Utf8(path) + "] " + std::to_string(module) + " " +
                  std::to_string(flags));
}

bool SystemRecorder::IsWow64() {
  calls.push_back("IsWow64");
  return wow64;
}

bool SystemRecorder::DisableFsRedirection(RedirectionState& saved) {
  calls.push_back("DisableFsRedirection");
  if (!hasRedirection) return false;
  saved = reinterpret_cast<RedirectionState>(uintptr_t{0x5A5A});
  return true;
}

void SystemRecorder::RevertFsRedirection(RedirectionState saved) {
  calls.push_back("RevertFsRedirection " + std::to_string(reinterpret_cast<uintptr_t>(saved)));
}

void SystemRecorder::LockStation() {
  calls.push_back("LockStation");
}

int32_t SystemRecorder::ParametersInfo(uint32_t action, uint32_t uiParam, void* pvParam,
                                       uint32_t winIni) {
  parameters.push_back({action, uiParam, reinterpret_cast<uintptr_t>(pvParam), winIni});
  calls.push_back("ParametersInfo " + std::to_string(action));
  if (parametersAnswer) parametersAnswer(action, uiParam, pvParam);
  return parametersResult;
}

intptr_t SystemRecorder::SendSettingChange(WindowHandle target, uintptr_t wParam, intptr_t lParam) {
  settingChanges.push_back({target, wParam, lParam});
  calls.push_back("SendSettingChange " + std::to_string(wParam));
  return 0;
}

void FakeTimer::Start(uint32_t id, uint32_t periodMs) {
  timers_[id] = {periodMs, clock_.nowMs + periodMs};
  calls.push_back("start " + std::to_string(id) + " " + std::to_string(periodMs) + " @" +
                  std::to_string(clock_.nowMs));
}

void FakeTimer::Kill(uint32_t id) {
  timers_.erase(id);
  calls.push_back("kill " + std::to_string(id) + " @" + std::to_string(clock_.nowMs));
}

void FakeTimer::AdvanceTo(uint64_t timeMs, const std::function<void(uint32_t id)>& onFire) {
  for (;;) {
    auto due = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
      return a.second.dueMs < b.second.dueMs;
    });
    if (due == timers_.end() || due->second.dueMs > timeMs) break;
    const uint32_t id = due->first;
    clock_.nowMs = due->second.dueMs;
    due->second.dueMs += due->second.periodMs;  // a periodic timer fires again unless killed
    onFire(id);
  }
  clock_.nowMs = std::max(clock_.nowMs, timeMs);
}

}  // namespace norvi::fakes
