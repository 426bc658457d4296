#include "platform/command_line.h"

#include <windows.h>

// On Windows the process's own command line, exactly as its starter wrote it (the program
// name quoted or not): the screensaver switches are read from it, not from the run time's
// split of it into argc and argv.
std::string processCommandLine(int, char**) {
  const char* text = GetCommandLineA();
  return text != nullptr ? std::string(text) : std::string();
}
