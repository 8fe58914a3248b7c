#pragma once
// The debugger channel: "ERROR:" lines, the driver's open and debug-level lines, the class
// name under the cursor when scrolling sideways, and the switcher library's trace.

#include <string_view>

namespace norvi {

class IDebugOutput {
 public:
  virtual ~IDebugOutput() = default;
  virtual void Write(std::u16string_view line) = 0;
};

#ifdef _WIN32
// OutputDebugStringW, at most 255 characters a line. Keeps nothing, so any thread may write.
class DebuggerOutput : public IDebugOutput {
 public:
  void Write(std::u16string_view line) override;
};
#endif

}  // namespace norvi
