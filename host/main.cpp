// The saver's entry point: one process serves one request of the screensaver command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/config_dialog.h"
#include "host/preview_window.h"
#include "host/program_icon.h"
#include "host/saver_app.h"
#include "host/saver_run.h"
#include "host/window_presenter.h"
#include "platform/command_line.h"
#include "platform/message_box.h"
#include "settings/settings.h"
#ifdef _WIN32
#include "platform/win32/message_box_window.h"
#else
#include "host/hack_run.h"
#include "host/program_help.h"
#include "platform/desktop_restore.h"
#include "platform/x11/message_box_window.h"
#include "platform/x11/settings_store_file.h"
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
  // Questions about the program are answered before anything reads the switches.
  switch (readInformationRequest(argc, argv)) {
    case InformationRequest::Help:
      printUsage(stdout, settingsFilePath());
      return 0;
    case InformationRequest::Version:
      printVersion(stdout);
      return 0;
    case InformationRequest::None:
      break;
  }
  // Before the screensaver switches: after a run killed with SIGKILL, this puts the display
  // mode and gamma ramp back as the run found them.
  if (argc == 2 && std::strcmp(argv[1], restoreDesktopOption) == 0)
    return restoreRecordedDesktop() ? 0 : 1;
  // A daemon's hack options ("--root", "--window-id N", "--window") before the saver's own
  // switch reader, which would take "--root" for a saver run.
  HackOptions hack;
  std::string hackError;
  const HackCommand command = readHackOptions(argc, argv, hack, hackError);
  if (command == HackCommand::Invalid) {
    std::fprintf(stderr, "plasmora: %s\n", hackError.c_str());
    return 1;
  }
  SaverApp app;
  app.initialise(processCommandLine(argc, argv).c_str());
  if (command == HackCommand::Hack) {
    applyHackOptions(hack, settings);
    installWindowPresenter();
    installProgramIcon();
    return runHack(app, hack);
  }
#else
  // Windows starts the saver with the screensaver switches only: no hack options, and no
  // desktop record to restore, since a display mode set for the run ends with the process.
  SaverApp app;
  app.initialise(processCommandLine(argc, argv).c_str());
#endif
  switch (app.runMode) {
    case RunMode::Saver:
    case RunMode::Test:
      // A person is watching: load failures get a window as well as a line on stderr.
      setMessageSink(showMessageWindow);
      installWindowPresenter();
      installProgramIcon();
      runSaver(app);
      break;
    case RunMode::Configure:
      runConfigDialog(app);
      break;
    case RunMode::Preview:
      // The one failure, a window that cannot be made, is shown in a box.
      setMessageSink(showMessageWindow);
      runPreview(app);
      break;
  }
  return 0;
}
