#pragma once
// The program entry: initialise the application, set its title, install the Qt dialogs,
// create the main window (which runs the splash sequence) and the four page forms, show the
// main window and run the message loop. The program takes no arguments.

namespace app {

class ISleeper;

// `program_path`: argv[0]. Returns the process exit code. `sleeper` makes the splash's
// waits; it must outlive the call.
int RunProgram(const char* program_path, ISleeper& sleeper);

}  // namespace app
