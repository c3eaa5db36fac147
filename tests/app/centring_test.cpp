#include "app/centring.h"

#include <gtest/gtest.h>

namespace {

TEST(CentredOrigin, HalvesRoundTiesToEvenWithFixedOffsets) {
  struct TCase {
    int width, height, left, top;
  };
  const TCase cases[] = {
      {1366, 768, 283, 144},  // 683 - 400, 384 - 240
      {1365, 768, 282, 144},  // 682.5 rounds to the even 682
      {1367, 767, 284, 144},  // 683.5 rounds to 684; 383.5 to 384
      {1024, 600, 112, 60},
      {640, 480, -80, 0},  // a window larger than the screen still goes by the offsets
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    const app::TWindowOrigin origin = app::CentredOrigin(c.width, c.height);
    EXPECT_EQ(origin.left, c.left);
    EXPECT_EQ(origin.top, c.top);
  }
}

TEST(HalfRoundedToEven, OddExtentsGoToTheEvenNeighbour) {
  EXPECT_EQ(app::HalfRoundedToEven(1), 0);
  EXPECT_EQ(app::HalfRoundedToEven(3), 2);
  EXPECT_EQ(app::HalfRoundedToEven(5), 2);
  EXPECT_EQ(app::HalfRoundedToEven(-3), -2);
  EXPECT_EQ(app::HalfRoundedToEven(0), 0);
}

}  // namespace
