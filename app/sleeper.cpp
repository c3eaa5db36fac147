#include "app/sleeper.h"

#include <thread>

namespace app {

void TBlockingSleeper::Sleep(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

}  // namespace app
