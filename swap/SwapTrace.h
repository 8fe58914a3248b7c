#pragma once
// The switcher library's trace output: printf-style lines (%d, %x, %ws) cut to 255
// characters, written to the debugger only while the switch is on (the marker file exists).

#include <initializer_list>
#include <string_view>

#include "model/DebugOutput.h"
#include "model/TraceLine.h"

namespace norvi::swap {

class SwapTrace {
 public:
  explicit SwapTrace(IDebugOutput& out) : out_(out) {}

  bool enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }

  // A line for the debugger while the switch is on.
  void Line(std::u16string_view format, std::initializer_list<TraceArg> args = {}) const {
    if (enabled_) out_.Write(FormatTrace(format, args).View());
  }
  // The set-up outcome, written whatever the switch says.
  void Always(std::u16string_view text) const { out_.Write(text); }

 private:
  IDebugOutput& out_;
  bool enabled_ = false;
};

}  // namespace norvi::swap
