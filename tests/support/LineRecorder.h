#pragma once
// Trace sinks and debugger channels for tests: one keeps every line (safe from the reader
// thread too), one drops them.

#include <mutex>
#include <string>
#include <vector>

#include "model/DebugOutput.h"
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
  // Every line one after another, as a debugger shows writes without line ends.
  std::u16string Joined() const {
    std::lock_guard<std::mutex> lock(lock_);
    std::u16string all;
    for (const std::u16string& line : lines_) all += line;
    return all;
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

// Drops every line without allocating, for allocation counts and benchmarks.
class DiscardedLines : public ITraceSink, public IDebugOutput {
 public:
  void Trace(std::u16string_view) override {}
  void Write(std::u16string_view) override {}
};

}  // namespace norvi::testkit
