#include "app/program.h"
#include "app/sleeper.h"

int main(int /*argc*/, char** argv) {
  app::TBlockingSleeper sleeper;
  return app::RunProgram(argv[0], sleeper);
}
