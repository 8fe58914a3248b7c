#pragma once
// Trace sink and debugger channel that keep every line, for the device link tests.

#include <mutex>
#include <string>
#include <vector>

#include "device/DriverIo.h"
#include "model/TraceSink.h"

namespace norvi::testkit {

class LineRecorder : public ITraceSink, public IDebugOutput {
 public:
  void Trace(std::u16string_view line) override { Add(line); }
  void Write(std::u16string_view line) override { Add(line); }

  std::vector<std::u16string> Lines() const {
    std::lock_guard<std::mutex> lock(lock_);
    return lines_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(lock_);
    lines_.clear();
  }

 private:
  void Add(std::u16string_view line) {
    std::lock_guard<std::mutex> lock(lock_);
    lines_.emplace_back(line);
  }

  mutable std::mutex lock_;
  std::vector<std::u16string> lines_;
};

}  // namespace norvi::testkit
