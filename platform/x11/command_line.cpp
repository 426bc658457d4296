#include "platform/command_line.h"

#include <cstring>

std::string processCommandLine(int argc, char** argv) {
  std::string text;
  if (argc < 1 || argv[0] == nullptr) return text;
  // A program name with a space is quoted, so that the switch scanner skips it whole.
  if (std::strchr(argv[0], ' ') != nullptr) {
    text += '"';
    text += argv[0];
    text += '"';
  } else {
    text += argv[0];
  }
  for (int i = 1; i < argc; ++i) {
    text += ' ';
    text += argv[i];
  }
  return text;
}
