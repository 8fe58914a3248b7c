// The shared recorder itself: how each message came, as a window procedure sees it, and how an
// expected table with optional entries is matched and reported.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/MessageLog_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi::testkit {
namespace {

constexpr UINT kOne = WM_APP + 1, kTwo = WM_APP + 2, kThree = WM_APP + 3;

TEST(MessageLog, TellsPostedFromSentOnTheSameThreadAndFromAnother) {
  MessageLog log({kOne, kTwo, kThree});
  ProbeWindow probe;
  HWND w = probe.get();
  ::PostMessageW(w, kOne, 7, 0);
  ::PostMessageW(w, kOne, 7, 0);
  ::SendMessageW(w, kTwo, 0, 0);  // handled at once, before the queue
  PumpPending();
  // The same message sent after its posted twin was handled is a send.
  ::SendMessageW(w, kOne, 7, 0);
  std::thread other([w] { ::SendMessageW(w, kThree, 0, 0); });
  const bool arrived = PumpUntil([&] { return log.Count(kThree) == 1; });
  other.join();
  ASSERT_TRUE(arrived);
  EXPECT_TRUE(Matches(log.Messages(), {{kTwo, 0, 0, w, kSent},
                                       {kOne, 7, 0, w, kPosted},
                                       {kOne, 7, 0, w, kPosted},
                                       {kOne, 7, 0, w, kSent},
                                       {kThree, 0, 0, w, kSent}}));
}

Message Got(UINT message, unsigned how) {
  return {nullptr, message, 0, 0, how};
}

TEST(MessageLog, OptionalEntriesMayBeMissingAndAFailureNamesItsContext) {
  const std::vector<Message> got = {Got(kOne, kSent), Got(kThree, kPosted)};
  const Expected one{.message = kOne, .flags = kSent};
  const Expected two{.message = kTwo, .flags = kOptional};
  const Expected three{.message = kThree, .flags = kPosted};
  EXPECT_TRUE(Matches(got, {one, two, three}));
  EXPECT_TRUE(Matches(got, {one, three, two}));   // missing at the end as well
  EXPECT_TRUE(Matches(got, {{kOne}, {kThree}}));  // either way when the test leaves it open
  const ::testing::AssertionResult missing = Matches(got, {one, {kTwo}, three}, "step two");
  EXPECT_FALSE(missing);
  EXPECT_EQ(std::string(missing.message()).rfind("step two: message sequence differs", 0), 0u)
      << missing.message();
  EXPECT_FALSE(Matches(got, {{.message = kOne, .flags = kPosted}, three}));
  EXPECT_FALSE(Matches(got, {one}));                        // one more came
  EXPECT_FALSE(Matches(got, {one, three, {kThree}}));       // one fewer came
  EXPECT_FALSE(Matches({Got(kTwo, kSent)}, {two, three}));  // optional, yet not this one
}

}  // namespace
}  // namespace norvi::testkit
