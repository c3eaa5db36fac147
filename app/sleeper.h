#pragma once
// The blocking waits of the splash sequence. The wizard sleeps for real on the user-interface
// thread, processing no messages; tests and the scripted tour put their own sleeper in.

#include <chrono>

namespace app {

class ISleeper {
 public:
  virtual ~ISleeper() = default;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// Blocks the calling thread for the whole duration.
class TBlockingSleeper final : public ISleeper {
 public:
  void Sleep(std::chrono::milliseconds duration) override;
};

}  // namespace app
