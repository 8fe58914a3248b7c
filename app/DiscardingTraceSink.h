#pragma once
// The program's trace sink: it produces no output and keeps nothing. The device reader thread
// and the main thread both trace, so a sink that kept anything would need a lock on the
// reader's path; keeping nothing is safe from any thread and never allocates.

#include <string_view>

#include "model/TraceSink.h"

namespace norvi {

class DiscardingTraceSink : public ITraceSink {
 public:
  void Trace(std::u16string_view) override {}
};

}  // namespace norvi
