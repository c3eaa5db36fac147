#pragma once
// A timer that the program's event loop drives: it holds an interval and an enabled flag,
// and the loop (or a test) calls Fire when the interval has passed. There are no threads:
// the handler runs on the caller's thread, never concurrently with other work. The Qt wizard
// connects a QTimer of the same interval to Fire; the command-line tools never enable one.

#include <functional>

namespace database::access {

class TTimer final {
 public:
  int Interval() const { return interval_ms_; }
  void SetInterval(int interval_ms) { interval_ms_ = interval_ms; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }

  // Runs the handler when the timer is enabled.
  void Fire() {
    if (enabled_ && OnTimer) {
      OnTimer();
    }
  }

  std::function<void()> OnTimer;

 private:
  int interval_ms_ = 1000;  // milliseconds between ticks
  bool enabled_ = false;
};

}  // namespace database::access
