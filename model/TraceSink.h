#pragma once
// Where finished trace lines go ("USBDriver:", "ApplySetting:", ... and the start banner).
// The application object implements it; the product's sink discards every line.
// The device reader thread traces too, so Trace may run on two threads at once.

#include <string_view>

namespace norvi {

class ITraceSink {
 public:
  virtual ~ITraceSink() = default;
  virtual void Trace(std::u16string_view line) = 0;
};

}  // namespace norvi
