#pragma once
// A CFunction over fake seams and a slot table the test fills.

#include <string>
#include <vector>

#include "actions/Function.h"
#include "tests/actions/fakes/ActionFakes.h"
#include "model/ButtonSlot.h"
#include "tests/support/LineRecorder.h"

namespace norvi::testkit {

// Expected events written with the raw numbers, independent of the product's constants.
inline InputEvent Key(uint8_t vk, uint32_t flags) {
  return {InputKind::Key, vk, flags};
}
inline InputEvent Down(uint8_t vk) {
  return Key(vk, 0x0001);
}
inline InputEvent Up(uint8_t vk) {
  return Key(vk, 0x0003);
}
inline InputEvent Mouse(uint32_t flags, int32_t data = 0) {
  return {InputKind::Mouse, 0, flags, 0, 0, data, true};
}
inline InputEvent Wait(uint32_t ms) {
  InputEvent e;
  e.pauseMs = ms;
  return e;
}

struct ActionRig {
  fakes::FakeClock clock;
  fakes::InputRecorder input{clock};
  fakes::FakeWindowTree windows{clock};
  fakes::SystemRecorder system;
  fakes::FakeTimer timer{clock};
  LineRecorder debug;
  SlotTable slots = FactorySlots();
  CFunction actions{slots, {input, windows, system, timer, debug}};

  // Assigns the code (and path) to slot 0 and performs it.
  void Perform(int32_t code, std::u16string_view path = {}) {
    slots[0].FunID = code;
    SetPath(slots[0], path);
    actions.PerformSlot(0);
  }
};

}  // namespace norvi::testkit
