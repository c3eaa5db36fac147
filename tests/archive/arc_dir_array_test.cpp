#include "archive/arc_dir_array.h"

#include <gtest/gtest.h>

#include "archive/arc_exception.h"

namespace archive {
namespace {

TEST(TArcDirArray, CapacityGrowsInDoublingStepsUpToTenThousand) {
  TArcDirArray array;
  std::vector<std::size_t> capacities;
  for (std::size_t count = 1; count <= 40000; ++count) {
    array.SetCount(count);
    if (capacities.empty() || capacities.back() != array.Capacity()) {
      capacities.push_back(array.Capacity());
    }
  }
  EXPECT_EQ(capacities, (std::vector<std::size_t>{1000, 3000, 7000, 15000, 25000, 35000, 45000}));
  array.SetCount(0);
  EXPECT_EQ(array.Capacity(), 0u);
}

TEST(TArcDirArray, IndexErrorsCarryTheirCodes) {
  TArcDirArray array;
  TDirItem item;
  item.Name = "a";
  array.Append(item);
  item.Name = "b";
  array.Append(item);
  const auto code_of = [](auto&& action) {
    try {
      action();
    } catch (const EArcException& e) {
      EXPECT_STREQ(
          e.what(),
          ("Index out of bounds - Native error: 0000" + std::to_string(e.NativeError())).c_str());
      return e.NativeError();
    }
    return -1;
  };
  EXPECT_EQ(code_of([&] { array.Put(2, item); }), 1);
  EXPECT_EQ(code_of([&] { array.Get(2); }), 2);
  EXPECT_EQ(code_of([&] { array.At(5); }), 3);
  EXPECT_EQ(code_of([&] { array.Delete(2); }), 4);
  array.Delete(0);
  ASSERT_EQ(array.Count(), 1u);
  EXPECT_EQ(array.At(0).Name, "b");
}

}  // namespace
}  // namespace archive
