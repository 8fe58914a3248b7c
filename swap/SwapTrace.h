#pragma once
// The switcher library's trace output: printf-style lines (%d, %x, %ws) cut to 255
// characters, written only while the switch is on (the marker file exists).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "model/TraceSink.h"

namespace norvi::swap {

// One argument of a trace line: a number (%d signed, %x hexadecimal, both 32 bits) or a text.
class TraceArg {
 public:
  template <typename T>
  requires std::is_integral_v<T> TraceArg(T value) : value_(static_cast<int64_t>(value)) {}
  TraceArg(std::u16string_view text) : value_(text) {}
  TraceArg(const std::u16string& text) : value_(std::u16string_view(text)) {}
  TraceArg(const char16_t* text) : value_(std::u16string_view(text)) {}

  const std::variant<int64_t, std::u16string_view>& value() const { return value_; }

 private:
  std::variant<int64_t, std::u16string_view> value_;
};

// The lines fit a 256-character buffer with its terminator.
inline constexpr size_t kTraceLineMax = 255;

std::u16string FormatTrace(std::u16string_view format, std::initializer_list<TraceArg> args);

class SwapTrace {
 public:
  explicit SwapTrace(ITraceSink& sink) : sink_(sink) {}

  bool enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }

  // A line for the debugger while the switch is on.
  void Line(std::u16string_view format, std::initializer_list<TraceArg> args = {}) const {
    if (enabled_) sink_.Trace(FormatTrace(format, args));
  }
  // The set-up outcome, written whatever the switch says.
  void Always(std::u16string_view text) const { sink_.Trace(text); }

 private:
  ITraceSink& sink_;
  bool enabled_ = false;
};

}  // namespace norvi::swap
