#include "platform/x11/desktop_guard.h"

#include <X11/extensions/Xrandr.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/desktop_restore.h"
#include "platform/display_mode.h"
#include "platform/gamma_ramp.h"
#include "platform/user_state_folder.h"
#include "platform/x11/x11_connection.h"

extern char** environ;

namespace {

// A record is a few kilobytes; anything far larger is not one of ours.
constexpr long maxRecordFileSize = 4L << 20;

DesktopRecord record;

// One record per display: a run on another display has its own.
std::string recordPath() {
  std::string folder = userStateFolder();
  if (folder.empty()) return {};
  std::string name = "desktop-";
  const char* display = std::getenv("DISPLAY");
  for (const char* p = display != nullptr ? display : ""; *p != '\0'; ++p)
    name += (*p == '/' || *p == '.') ? '_' : *p;
  return folder + "/" + name + ".record";
}

bool writeRecordFile(const std::string& path, const std::string& text) {
  std::string temporary = path + ".new";
  int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temporary.c_str());
  return ok;
}

bool readRecordFile(const std::string& path, std::string& text) {
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxRecordFileSize;
  if (ok) {
    text.resize(static_cast<std::size_t>(info.st_size));
    ok = read(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  }
  close(fd);
  return ok;
}

// What the crash handler needs, prepared beforehand: it may only do async-signal-safe work.
char restorerPath[PATH_MAX];
char restorerName[] = "plasmora";
char restorerOption[] = "--restore-desktop";
char* restorerArguments[] = {restorerName, restorerOption, nullptr};
volatile std::sig_atomic_t recordOnDisk = 0;

void onCrash(int signal) {
  if (recordOnDisk) {
    pid_t restorer = _Fork();
    if (restorer == 0) {
      execve(restorerPath, restorerArguments, environ);
      _exit(127);
    }
    // A crash while this process holds the server grabbed would keep the restorer waiting
    // until this process is gone: wait a while, then let it finish on its own.
    const timespec tick{0, 10'000'000};
    for (int i = 0; restorer > 0 && i < 300 && waitpid(restorer, nullptr, WNOHANG) == 0; ++i)
      nanosleep(&tick, nullptr);
  }
  // Die of the same signal, as if there had been no handler.
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void installCrashHandlers() {
  static bool installed = false;
  if (installed) return;
  ssize_t length = readlink("/proc/self/exe", restorerPath, sizeof restorerPath - 1);
  if (length <= 0) return;
  restorerPath[length] = '\0';
  struct sigaction action {};
  action.sa_handler = onCrash;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND | SA_NODEFER;
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(signal, &action, nullptr);
  installed = true;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

void restoreRecord(Display* display, const DesktopRecord& saved) {
  int event = 0, error = 0;
  if (!XRRQueryExtension(display, &event, &error)) return;
  if (saved.mode) restoreCrtcMode(display, *saved.mode);
  for (const SavedCrtcGamma& gamma : saved.gamma) restoreCrtcGamma(display, gamma);
  XSync(display, False);
}

// A fresh connection of its own, for a restore that must not depend on the process's one.
bool restoreThroughNewConnection(const DesktopRecord& saved) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XSetErrorHandler(ignoreErrors);
  restoreRecord(display, saved);
  XCloseDisplay(display);
  return true;
}

// Unlike a mode or ramp set for a process elsewhere, an X mode or ramp outlives its client:
// a run that ends through exit() still puts them back.
void restoreAtExit() {
  restoreDisplayGammaRamp();
  restoreDisplayMode();
}

}  // namespace

DesktopRecord& desktopRecord() { return record; }

void desktopRecordChanged() {
  static bool registered = false;
  if (!registered && !record.empty()) registered = std::atexit(restoreAtExit) == 0;
  std::string path = recordPath();
  if (path.empty()) return;
  if (record.empty()) {
    recordOnDisk = 0;
    unlink(path.c_str());
    return;
  }
  installCrashHandlers();
  recordOnDisk = writeRecordFile(path, formatDesktopRecord(record)) ? 1 : 0;
}

void restoreCrtcMode(Display* display, const SavedCrtcMode& saved) {
  Window root = DefaultRootWindow(display);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources == nullptr) return;
  Window rootReturn = 0;
  int x = 0, y = 0;
  unsigned width = 0, height = 0, border = 0, depth = 0;
  XGetGeometry(display, root, &rootReturn, &x, &y, &width, &height, &border, &depth);
  XGrabServer(display);
  // The screen must hold the old mode before the CRTC takes it, and shrinks back after.
  if (saved.screenWidth > static_cast<int>(width) || saved.screenHeight > static_cast<int>(height))
    XRRSetScreenSize(display, root, std::max(saved.screenWidth, static_cast<int>(width)),
                     std::max(saved.screenHeight, static_cast<int>(height)), saved.screenMmWidth,
                     saved.screenMmHeight);
  std::vector<RROutput> outputs(saved.outputs.begin(), saved.outputs.end());
  XRRSetCrtcConfig(display, resources, saved.crtc, CurrentTime, saved.x, saved.y, saved.mode,
                   static_cast<Rotation>(saved.rotation), outputs.data(),
                   static_cast<int>(outputs.size()));
  XRRSetScreenSize(display, root, saved.screenWidth, saved.screenHeight, saved.screenMmWidth,
                   saved.screenMmHeight);
  XUngrabServer(display);
  XSync(display, False);
  XRRFreeScreenResources(resources);
}

void restoreCrtcGamma(Display* display, const SavedCrtcGamma& saved) {
  int size = static_cast<int>(saved.red.size());
  // A CRTC whose ramp size has changed since is left alone rather than given a wrong ramp.
  if (size <= 0 || XRRGetCrtcGammaSize(display, saved.crtc) != size) return;
  XRRCrtcGamma* gamma = XRRAllocGamma(size);
  if (gamma == nullptr) return;
  std::copy(saved.red.begin(), saved.red.end(), gamma->red);
  std::copy(saved.green.begin(), saved.green.end(), gamma->green);
  std::copy(saved.blue.begin(), saved.blue.end(), gamma->blue);
  XRRSetCrtcGamma(display, saved.crtc, gamma);
  XRRFreeGamma(gamma);
}

void restoreDesktopThroughFreshConnection() {
  static bool once = false;
  if (once || record.empty()) return;
  once = true;
  if (restoreThroughNewConnection(record)) {
    record = DesktopRecord{};
    desktopRecordChanged();
  }
}

bool restoreRecordedDesktop() {
  std::string path = recordPath();
  std::string text;
  if (path.empty() || !readRecordFile(path, text)) return true;  // nothing recorded
  DesktopRecord saved;
  if (!parseDesktopRecord(text, saved)) {
    std::fprintf(stderr, "plasmora: %s is not a record of the display; left as it is.\n",
                 path.c_str());
    return false;
  }
  if (!restoreThroughNewConnection(saved)) {
    std::fprintf(stderr, "plasmora: cannot open the display to restore it.\n");
    return false;
  }
  unlink(path.c_str());
  return true;
}
