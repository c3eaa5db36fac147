#include "app/centring.h"

namespace app {

int HalfRoundedToEven(int extent) {
  // Floor division, so that a negative odd extent rounds the same way as a positive one.
  const int floor_half = extent >= 0 ? extent / 2 : -((-extent + 1) / 2);
  if (extent % 2 == 0) {
    return floor_half;
  }
  return floor_half % 2 == 0 ? floor_half : floor_half + 1;
}

TWindowOrigin CentredOrigin(int screen_width, int screen_height) {
  return {HalfRoundedToEven(screen_width) - 400, HalfRoundedToEven(screen_height) - 240};
}

}  // namespace app
