#pragma once
// One recorder for every Windows test: window procedures, subclassed controls and low-level
// input hooks feed the messages they see into the active log, and a test compares what was
// logged with an expected table. A mismatch prints both sequences side by side.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/Handles_win32.h"

namespace norvi::testkit {

struct Message {
  HWND window;  // nullptr for input seen by a low-level hook
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// One expected entry; a field left empty matches anything.
struct Expected {
  UINT message;
  std::optional<WPARAM> wParam = std::nullopt;
  std::optional<LPARAM> lParam = std::nullopt;
  HWND window = nullptr;  // nullptr: any window
};

// The log that every feeder writes into while it lives; one at a time per process, as the
// hooks and window procedures that feed it have no other way to find it.
class MessageLog {
 public:
  // Keeps only these messages (all when empty), so that painting and hit-testing do not
  // interleave with what a test checks.
  explicit MessageLog(std::vector<UINT> only = {});
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  // Into the active log, if there is one and it keeps this message.
  static void Feed(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<Message> Messages() const;
  // The messages of this number, in order.
  std::vector<Message> Of(UINT message) const;
  size_t Count(UINT message) const;
  // The wParam of each message of this number, in order.
  std::vector<WPARAM> WParams(UINT message) const;
  void Clear();
  // Room for this many messages, so that recording allocates nothing (a benchmark's count).
  void Reserve(size_t count);
  // Called for each kept message on the feeding thread (a benchmark's clock).
  void OnMessage(std::function<void(const Message&)> callback);

 private:
  void Add(const Message& m);

  std::vector<UINT> only_;
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
  std::function<void(const Message&)> onMessage_;
};

// Compares a logged sequence with the expected one, entry by entry and in length.
::testing::AssertionResult Matches(const std::vector<Message>& got,
                                   const std::vector<Expected>& expected);
// A readable name for a message number ("WM_KEYDOWN", "WM_USER+5", "0xC123").
std::string MessageName(UINT message);

// The window procedure of the recording windows: feeds the log, answers X button messages
// itself (so they are not passed up as commands) and leaves the rest to the default.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers a window class of this name that records through RecordingProc (once a name).
void RegisterRecordingClass(const wchar_t* name);

// A window of the recording class: message-only, or visible (topmost unless told otherwise) on
// this rectangle, with any further styles (scroll bars, for a target of sideways scrolling).
class ProbeWindow {
 public:
  explicit ProbeWindow(const RECT* onScreen = nullptr, const wchar_t* title = L"probe",
                       DWORD style = 0, DWORD exStyle = WS_EX_TOPMOST);
  HWND get() const { return window_.get(); }

 private:
  UniqueWindow window_;
};

// Records the messages of an existing window (a real control) until destroyed, without
// changing how the window answers them.
class RecordingSubclass {
 public:
  explicit RecordingSubclass(HWND window);
  ~RecordingSubclass();
  RecordingSubclass(const RecordingSubclass&) = delete;
  RecordingSubclass& operator=(const RecordingSubclass&) = delete;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_;
};

// Low-level keyboard and mouse hooks on a thread of their own (injected input waits for every
// hook, so a hook must not run on the injecting thread). Keys are logged as their message with
// the virtual key in wParam and the hook flags in lParam; mouse input as its message with
// the mouse data in wParam and the flags in lParam. Both pass the input on.
class InputHooks {
 public:
  InputHooks();
  ~InputHooks();
  InputHooks(const InputHooks&) = delete;
  InputHooks& operator=(const InputHooks&) = delete;

 private:
  static LRESULT CALLBACK Keyboard(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK Mouse(int code, WPARAM wParam, LPARAM lParam);
  std::thread thread_;
  DWORD threadId_ = 0;
};

}  // namespace norvi::testkit
