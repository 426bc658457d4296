// The saver's entry point: one process serves one request of the screensaver command line.
#include <cstdio>

#include "host/saver_app.h"
#include "host/preview_window.h"
#include "host/program_icon.h"
#include "host/saver_run.h"
#include "host/window_presenter.h"
#include "platform/command_line.h"
#include "platform/message_box.h"
#include "platform/x11/message_box_window.h"

int main(int argc, char** argv) {
  SaverApp app;
  app.initialise(processCommandLine(argc, argv).c_str());
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
      std::fprintf(stderr, "plasmora: the configuration dialog is not available in this build.\n");
      break;
    case RunMode::Preview:
      // The one failure, a window that cannot be made, is shown in a box.
      setMessageSink(showMessageWindow);
      runPreview(app);
      break;
  }
  return 0;
}
