#pragma once
// The process: its run mode, the window it serves, and the desktop's monitors.
#include <cstdint>

#include "host/monitor_record.h"
#include "host/run_mode.h"

class SaverApp {
 public:
  SaverApp();
  virtual ~SaverApp();

  // Reads the switch of a screensaver command line (program name first) and sets
  // parentWindow from the number after /c or /p.
  RunMode parseCommandLine(const char* text);

  // Run mode from the command line, settings, monitors, desktop mode and current directory.
  void initialise(const char* commandLine);

  RunMode runMode = RunMode::Configure;
  void* instance = nullptr;
  std::uint32_t parentWindow = 0;
  std::int32_t showCommand = 1;
  MonitorRecord monitors[maxMonitors];
  int monitorCount = 0;
};

// The one SaverApp of the process, null when there is none.
extern SaverApp* saverApp;
