#pragma once
// Message pumping with a time-out for Windows tests: wait for what a test expects instead of
// sleeping, and give up after the time-out.

#include <windows.h>

#include <algorithm>

namespace norvi::testkit {

// Dispatches this thread's messages until done() holds or timeoutMs pass; returns done().
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = 5000) {
  constexpr DWORD kPollMs = 5;
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (done()) return true;
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= timeoutMs) return done();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(timeoutMs - elapsed, kPollMs),
                                QS_ALLINPUT);
  }
}

// Dispatches what this thread's queue holds now, without waiting for more.
inline void PumpPending() {
  PumpUntil([] { return true; }, 0);
}

// Keeps the thread's windows alive for ms milliseconds: only where nothing may happen, so
// there is no state to wait for.
inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

}  // namespace norvi::testkit
