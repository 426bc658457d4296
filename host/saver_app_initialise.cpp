// The start of every run mode: what the process needs before it serves its request.
#include "host/load_settings.h"
#include "host/monitors.h"
#include "host/saver_app.h"
#include "platform/current_directory.h"
#include "platform/display_mode.h"
#include "settings/settings.h"

void SaverApp::initialise(const char* commandLine) {
  runMode = parseCommandLine(commandLine);
  loadSettings();
  enumerateMonitors(*this);
  if (settings.UseDesktop) {
    DisplayMode desktop;
    if (currentDisplayMode(desktop)) {
      settings.Width = desktop.width;
      settings.Height = desktop.height;
      settings.Depth = desktop.bitsPerPixel;
    }
  }
  setCurrentDirectory(settings.Path.c_str());
}
