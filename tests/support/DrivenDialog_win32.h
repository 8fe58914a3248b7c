#pragma once
// A modal dialog of the program driven from inside its own modal loop: once the dialog is up,
// the test's steps run one after another, each as a message of its own, so that the input a
// step posts is handled before the next step runs.

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace norvi::testkit {

// Dialog: a dialog class of the program (OnInitDialog, HandleMessage and Post as the
// framework's Dialog has them); its constructor takes the arguments after the steps.
template <class Dialog>
class Driven : public Dialog {
 public:
  using Step = std::function<void(Driven&)>;
  template <class... Args>
  explicit Driven(std::vector<Step> steps, Args&&... args)
      : Dialog(std::forward<Args>(args)...), steps_(std::move(steps)) {}
  size_t StepsRun() const { return next_; }

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = Dialog::OnInitDialog();
    this->Post(NextStep());
    return result;
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != NextStep()) return Dialog::HandleMessage(msg, wp, lp);
    if (next_ < steps_.size()) {
      steps_[next_++](*this);
      this->Post(NextStep());
    }
    return 0;
  }

 private:
  // A number of its own, so that no message of the dialog is taken for a step.
  static UINT NextStep() {
    static const UINT message = ::RegisterWindowMessageW(L"NorviTestNextStep");
    return message;
  }

  std::vector<Step> steps_;
  size_t next_ = 0;
};

}  // namespace norvi::testkit
