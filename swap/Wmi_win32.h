#pragma once
// The WMI connection the switcher uses to find the executable of a process it cannot open.

#include <windows.h>
// After windows.h, which it builds on.
#include <wbemidl.h>

#include <cstdint>
#include <string>

#include "framework/Com_win32.h"
#include "swap/SwapTrace.h"

namespace norvi::swap {

// A connection to ROOT\CIMV2 and the COM initialisation of the calling thread it rests on.
class WmiConnection {
 public:
  WmiConnection() = default;
  WmiConnection(const WmiConnection&) = delete;
  WmiConnection& operator=(const WmiConnection&) = delete;
  ~WmiConnection() { Close(); }

  // Initialises COM for this thread and connects; each failure is traced and undone. A
  // connection already open is replaced on success and kept on failure.
  bool Open(const SwapTrace& trace);
  // Releases the service and the thread's COM initialisation, if held.
  void Close();
  bool IsOpen() const { return static_cast<bool>(service_); }

  // "ExecutablePath" of the process from Win32_Process; empty when the query finds none.
  std::u16string ExecutablePath(uint32_t processId) const;

 private:
  ComRef<IWbemServices> service_;
};

}  // namespace norvi::swap
