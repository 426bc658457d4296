#include "host/window_presenter.h"

#include "host/frame_pacer.h"
#include "host/monitor_views.h"
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
    const std::int64_t frequency = performanceFrequency();
    if (settings.VSync && !swapControlAvailable())
      presenter.pacer.period = refreshPeriod(displayRefreshRate(), frequency);
    // A cap below the refresh rate holds frames back further; one above it changes nothing.
    const std::int64_t cap = limitPeriod(settings.FrameLimit, frequency);
    if (cap > presenter.pacer.period) {
      presenter.pacer.period = cap;
      presenter.pacer.keepsRate = true;
    }
  }
  if (presenter.pacer.period > 0) waitUntilCounter(presenter.pacer.presentAt(performanceCounter()));
  presentMonitorViews();
}

}  // namespace

void installWindowPresenter() {
  presenter = WindowPresenter{};
  setFramePresenter(present, nullptr);
}
