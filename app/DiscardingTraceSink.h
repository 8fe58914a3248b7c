#pragma once
// The program's trace sink: it keeps the line most recently handed to it and produces no
// output at all. Its buffer is reserved once, so tracing on the event path never allocates.

#include <string>
#include <string_view>

#include "model/TraceSink.h"

namespace norvi {

class LastTraceLine : public ITraceSink {
 public:
  static constexpr size_t kReservedUnits = 512;  // longer than every line the program writes

  LastTraceLine() { line_.reserve(kReservedUnits); }
  void Trace(std::u16string_view line) override { line_.assign(line); }
  const std::u16string& LastLine() const { return line_; }

 private:
  std::u16string line_;
};

}  // namespace norvi
