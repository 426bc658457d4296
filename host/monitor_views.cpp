#include "host/monitor_views.h"

#include <vector>

#include "host/pixel_format.h"
#include "host/saver_app.h"
#include "host/saver_state.h"
#include "platform/gl_context.h"
#include "render/frame_views.h"
#include "render/monitor_layout.h"
#include "settings/settings.h"

namespace {

struct MonitorView {
  WindowHandle window = 0;
  DeviceContext dc = 0;
  int width = 0;
  int height = 0;
  FrustumExtent frustum{};
};

// The primary's view first: the overlay's.
std::vector<MonitorView> views;

// Frame view v is monitor view v + 1, the primary's (0) last: the overlay's, and the one whose
// swap may wait for the refresh. Each window is swapped as soon as it has been drawn, while it
// is still current: some drivers lose a window's back buffer once the context has moved on to
// another window, and some swap only the current one.
MonitorView& viewAt(int frameView) {
  return views[static_cast<std::size_t>(frameView + 1) % views.size()];
}

void beginView(int frameView, void*) {
  if (frameView < 0 || static_cast<std::size_t>(frameView) >= views.size()) return;
  if (frameView > 0) swapBuffers(viewAt(frameView - 1).dc);
  MonitorView& view = viewAt(frameView);
  makeCurrent(view.dc, renderContext);
  applyViewProjection(view.width, view.height, view.frustum);
}

void installViews() {
  if (views.size() < 2) {
    views.clear();
    setFrameViews(FrameViews{});
    return;
  }
  FrameViews frame;
  frame.count = static_cast<int>(views.size());
  frame.overlayView = frame.count - 1;
  frame.begin = beginView;
  setFrameViews(frame);
}

}  // namespace

void setUpMonitorViews(SaverApp& app) {
  views.clear();
  const MonitorsMode mode = monitorsMode(settings.Monitors);
  if (mode == MonitorsMode::PrimaryOnly || renderContext == 0) return installViews();
  std::vector<DesktopRect> rects;
  for (int i = 0; i < app.monitorCount; ++i) {
    const MonitorRecord& record = app.monitors[i];
    if (record.monitor == 0 || record.window == 0) continue;
    MonitorView view;
    view.window = record.window;
    if (record.window == primaryWindow) {
      view.dc = primaryDC;
    } else {
      view.dc = getDeviceContext(record.window);
      if (view.dc == 0 || !sharePrimaryPixelFormat(view.dc)) {
        releaseDeviceContext(record.window, view.dc);
        continue;
      }
    }
    // The primary window has the run's display mode, the others their monitor's size.
    clientRect(record.window, view.width, view.height);
    const MonitorBounds& b = record.bounds;
    rects.push_back({b.left, b.top, view.width, view.height});
    views.push_back(view);
  }
  const std::vector<FrustumExtent> frusta = monitorFrusta(mode, rects);
  for (std::size_t i = 0; i < views.size(); ++i) views[i].frustum = frusta[i];
  // The driver's wait for the refresh belongs to the primary's swap, which comes last.
  if (views.size() > 1 && swapControlAvailable()) {
    for (std::size_t i = 1; i < views.size(); ++i)
      if (makeCurrent(views[i].dc, renderContext)) setSwapInterval(0);
  }
  makeCurrent(primaryDC, renderContext);
  installViews();
}

void presentMonitorViews() {
  // The others went out as they were drawn; the primary, drawn last, is current.
  swapBuffers(primaryDC);
}

void dropMonitorView(WindowHandle window) {
  for (std::size_t i = 1; i < views.size(); ++i) {
    if (views[i].window != window) continue;
    releaseDeviceContext(window, views[i].dc);
    views.erase(views.begin() + static_cast<std::ptrdiff_t>(i));
    makeCurrent(primaryDC, renderContext);
    installViews();
    return;
  }
}

void clearMonitorViews() {
  for (std::size_t i = 1; i < views.size(); ++i) releaseDeviceContext(views[i].window, views[i].dc);
  views.clear();
  setFrameViews(FrameViews{});
}
