// The generic owner: each resource goes back exactly once, through the releaser it came with.
#include "base/UniqueResource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace norvi {
namespace {

// Records "<tag><value>" for every release, so a test sees which releaser ran on what.
struct Recorder {
  std::vector<std::string>* log = nullptr;
  char tag = '?';
  void operator()(int v) const { log->push_back(tag + std::to_string(v)); }
};
// -1 is "none", as for descriptors; 0 is a resource like any other.
using Owned = UniqueResource<int, Recorder, -1>;

int* NoPointer() {
  return reinterpret_cast<int*>(-1);
}
struct CountReleases {
  int* count;
  void operator()(int*) const { ++*count; }
};
// A pointer type whose failure value is not null: both mean "none".
using OwnedPointer = UniqueResource<int*, CountReleases, NoPointer>;

TEST(UniqueResourceTest, ReleasesEachResourceOnceThroughItsOwnReleaser) {
  std::vector<std::string> log;
  {
    Owned a(0, Recorder{&log, 'a'});
    Owned b(7, Recorder{&log, 'b'});
    Owned none(-1, Recorder{&log, 'n'});
    EXPECT_TRUE(a);
    EXPECT_FALSE(none);

    Owned moved(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(moved.get(), 0);

    // The 7 goes back through b's releaser before b takes over the 0 and a's releaser.
    b = std::move(moved);
    EXPECT_EQ(log, (std::vector<std::string>{"b7"}));
    EXPECT_EQ(moved.get(), -1);

    b.reset(3);
    EXPECT_EQ(log, (std::vector<std::string>{"b7", "a0"}));
    Owned kept(5, Recorder{&log, 'k'});
    EXPECT_EQ(kept.release(), 5);
    Owned& same = b;
    b = std::move(same);  // a self-move keeps the resource
    EXPECT_EQ(b.get(), 3);
  }
  EXPECT_EQ(log, (std::vector<std::string>{"b7", "a0", "a3"}));
}

TEST(UniqueResourceTest, NullAndTheFailureValueAreBothNothingToRelease) {
  int count = 0;
  int value = 0;
  {
    OwnedPointer failed(NoPointer(), CountReleases{&count});
    OwnedPointer null(nullptr, CountReleases{&count});
    OwnedPointer held(&value, CountReleases{&count});
    EXPECT_FALSE(failed);
    EXPECT_FALSE(null);
    EXPECT_TRUE(held);
    // An out-parameter slot releases what was held first.
    *held.put() = &value;
    EXPECT_EQ(count, 1);
  }
  EXPECT_EQ(count, 2);
}

}  // namespace
}  // namespace norvi
