#pragma once
// Where the main window goes when it first shows: fixed offsets from the middle of the
// screen, whatever the window's real size.

namespace app {

struct TWindowOrigin {
  int left = 0;
  int top = 0;
};

// Half of `extent`, as a real number brought to the nearest whole number, ties to the even
// one: 1366 gives 683, 1365 gives 682 (682.5), 1367 gives 684 (683.5).
int HalfRoundedToEven(int extent);

// Left = half the screen width - 400; top = half the screen height - 240 (pixels).
TWindowOrigin CentredOrigin(int screen_width, int screen_height);

}  // namespace app
