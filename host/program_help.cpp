#include "host/program_help.h"

#include <cstring>

#ifndef PLASMORA_VERSION_TEXT
#define PLASMORA_VERSION_TEXT "unknown"
#endif

InformationRequest readInformationRequest(int argc, const char* const* argv) {
  InformationRequest request = InformationRequest::None;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) return InformationRequest::Help;
    if (std::strcmp(argv[i], "--version") == 0) request = InformationRequest::Version;
  }
  return request;
}

void printUsage(std::FILE* out, const std::string& settingsLocation) {
  std::fputs(
      "Usage: plasmora [/s | /t | /c[:N] | /p N]\n"
      "       plasmora --root | --window-id N | --window [hack options]\n"
      "       plasmora --help | --version\n"
      "\n"
      "A flight through the cells, into the nucleus and along a replicating DNA strand.\n"
      "\n"
      "Screensaver switches ('-' works in place of '/', letters in either case):\n"
      "  /s            run full screen until a key, a click or (with MouseExit) a move\n"
      "  /t            the same, as a test run\n"
      "  /c[:N]        the settings dialog, over window N when given (also with no switch)\n"
      "  /p N          the preview picture inside window N\n"
      "\n"
      "Hack options (for a screensaver daemon, or to try the show in a window):\n"
      "  --root                draw into $XSCREENSAVER_WINDOW, else the root window\n"
      "  --window-id N         draw into window N (hex with 0x, or decimal)\n"
      "  --window              open a window of its own\n"
      "  --detail N            0 to 2: fewer objects for speed\n"
      "  --clock, --no-clock   show or hide the clock\n"
      "  --12-hour, --24-hour  the clock's format\n"
      "  --fps, --no-fps       show or hide the frame rate\n"
      "  --music, --no-music   play the music or not\n"
      "  --volume N            1 to 100\n"
      "  --gamma N             0 to 100 (50 leaves the display's ramp as it is)\n"
      "These change the settings for one run only.\n"
      "\n"
      "  --restore-desktop     put back a display mode and brightness left by a killed run\n"
      "\n",
      out);
  std::fprintf(out, "Settings: %s\n", settingsLocation.c_str());
}

void printVersion(std::FILE* out) { std::fprintf(out, "plasmora %s\n", PLASMORA_VERSION_TEXT); }
