#pragma once
// One recorder for every Windows test: window procedures, subclassed controls and low-level
// input hooks feed the messages they see into the active log, each marked with how it came
// (sent, posted, or seen by a hook), and a test compares what was logged with an expected table
// under a context that names the step. A mismatch prints both sequences side by side.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/Handles_win32.h"

namespace norvi::testkit {

// How a message came, and what an expected one may leave open.
enum MessageFlags : unsigned {
  kSent = 1,      // sent: a direct call, or a send from another thread
  kPosted = 2,    // taken from the queue: posted, or input
  kHook = 4,      // seen by a low-level input hook
  kOptional = 8,  // expected only: may be missing, the sequence goes on without it
};

struct Message {
  HWND window;  // nullptr for input seen by a low-level hook
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  // kSent, kPosted or kHook; 0 on a thread the log does not watch, where a window procedure
  // cannot tell a posted message from one sent on the same thread.
  unsigned how = 0;
};

// One expected entry; a field left empty matches anything. flags: kSent, kPosted or kHook
// where the way it came matters (none: either way), and kOptional.
struct Expected {
  UINT message;
  std::optional<WPARAM> wParam = std::nullopt;
  std::optional<LPARAM> lParam = std::nullopt;
  HWND window = nullptr;  // nullptr: any window
  unsigned flags = 0;
};

// The log that every feeder writes into while it lives; one at a time per process, as the
// hooks and window procedures that feed it have no other way to find it. It watches the queue
// of the thread that makes it (a message hook there sees each message taken from the queue),
// so that a window procedure on that thread can tell a posted message from a sent one.
class MessageLog {
 public:
  // Keeps only these messages (all when empty), so that painting and hit-testing do not
  // interleave with what a test checks.
  explicit MessageLog(std::vector<UINT> only = {});
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  // Into the active log, if there is one and it keeps this message: from a window procedure,
  // which is asked whether the message was sent or taken from the queue.
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
  friend class InputHooks;
  static void FeedAs(unsigned how, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK Retrieved(int code, WPARAM removed, LPARAM msg);
  void Add(const Message& m);

  std::vector<UINT> only_;
  DWORD thread_ = ::GetCurrentThreadId();
  UniqueHook queueHook_;
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
  std::function<void(const Message&)> onMessage_;
};

// Compares a logged sequence with the expected one, entry by entry and in length; an optional
// entry that does not fit is passed over. context names the step in the failure message.
::testing::AssertionResult Matches(const std::vector<Message>& got,
                                   const std::vector<Expected>& expected,
                                   std::string_view context = {});
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
