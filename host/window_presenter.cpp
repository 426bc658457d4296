#include "host/window_presenter.h"

#include "host/frame_pacer.h"
#include "host/saver_state.h"
#include "platform/clock.h"
#include "platform/display_refresh.h"
#include "platform/gl_context.h"
#include "platform/wait.h"
#include "render/frame_presenter.h"
#include "settings/settings.h"

namespace {

struct WindowPresenter {
  bool decided = false;
  FramePacer pacer;
};

WindowPresenter presenter;

void present(void*) {
  if (!presenter.decided) {
    presenter.decided = true;
    if (settings.VSync && !swapControlAvailable())
      presenter.pacer.period = refreshPeriod(displayRefreshRate(), performanceFrequency());
  }
  if (presenter.pacer.period > 0) waitUntilCounter(presenter.pacer.presentAt(performanceCounter()));
  swapBuffers(primaryDC);
}

}  // namespace

void installWindowPresenter() {
  presenter = WindowPresenter{};
  setFramePresenter(present, nullptr);
}
