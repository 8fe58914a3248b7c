#pragma once
// Test doubles that record what the application logic asks of the trace sink, the executor,
// the driver link and the system.

#include <sstream>
#include <string>
#include <vector>

#include "app/ApplyModel.h"
#include "app/DeviceDispatch.h"
#include "app/MouseSettings.h"
#include "model/Text.h"

namespace norvi::testkit {

// Text of the parts one after another (streams, which the cross compiler's string
// concatenation warnings leave alone).
template <class... Parts>
std::string Line(const Parts&... parts) {
  std::ostringstream out;
  ((out << parts), ...);
  return out.str();
}

struct TraceRecorder : ITraceSink {
  std::vector<std::string> lines;  // UTF-8 for readable failures
  void Trace(std::u16string_view line) override { lines.push_back(Utf16ToUtf8(line)); }
};

// Records traces and performed slots in one list, so their interleaving is checked too.
struct DispatchRecorder : ITraceSink, ISlotPerformer {
  std::vector<std::string> log;
  void Trace(std::u16string_view line) override { log.push_back(Utf16ToUtf8(line)); }
  void PerformSlot(int slot) override { log.push_back(Line("perform ", slot)); }
};

struct FilterRecorder : IFilterLink {
  std::vector<std::string> calls;
  int32_t result = 1;
  int32_t SetMouseFilter(uint32_t mask) override { return Record("mouse", mask), result; }
  int32_t SetKeyboardFilter(uint32_t v) override { return Record("keyboard", v), 1; }
  int32_t SetComboFilter(uint32_t bits) override { return Record("combo", bits), 1; }
  void Record(const char* what, uint32_t v) { calls.push_back(Line(what, " ", v)); }
};

}  // namespace norvi::testkit
