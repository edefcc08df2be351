#include <gtest/gtest.h>

#include "FakeStorage.h"
#include "foundation/UserDefaults.h"

namespace taviro {
namespace {

TEST(UserDefaults, PersistentValuesOverlayRegisteredOnesAndAreWrittenOnlyAfterAChange) {
  auto owned = std::make_unique<fakes::MemoryDefaultsStorage>(Value::Dict{{"a", 1}});
  fakes::MemoryDefaultsStorage* storage = owned.get();
  UserDefaults d(std::move(owned));
  d.registerDefaults({{"a", 9}, {"b", 2}});
  EXPECT_EQ(d.objectForKey("a"), Value(1));
  EXPECT_EQ(d.objectForKey("b"), Value(2));
  EXPECT_EQ(d.objectForKey("c"), std::nullopt);
  EXPECT_TRUE(d.synchronize());
  EXPECT_EQ(storage->saves, 0);

  d.removeObjectForKey("a");
  EXPECT_EQ(d.objectForKey("a"), Value(9));  // the registered value shows through
  EXPECT_EQ(d.dictionaryRepresentation(), (Value::Dict{{"a", 9}, {"b", 2}}));
  d.setObject("k", Value::Array{1.5, 2.5});
  EXPECT_TRUE(d.synchronize());
  EXPECT_EQ(storage->domain(), (Value::Dict{{"k", Value::Array{1.5, 2.5}}}));  // registered stay in memory
  EXPECT_TRUE(d.synchronize());
  EXPECT_EQ(storage->saves, 1);
}

}  // namespace
}  // namespace taviro
