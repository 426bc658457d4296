#include "host/saver_app.h"

SaverApp* saverApp = nullptr;

SaverApp::SaverApp() { saverApp = this; }

SaverApp::~SaverApp() {
  if (saverApp == this) saverApp = nullptr;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The first decimal number from `p` on, skipping whatever precedes it; 0 when there is
// none. A number too large for a window handle names no window and also gives 0.
std::uint32_t numberFrom(const char* p) {
  while (*p != '\0' && !isDigit(*p)) ++p;
  std::uint64_t value = 0;
  for (; isDigit(*p); ++p) {
    value = value * 10 + static_cast<unsigned>(*p - '0');
    if (value > 0xFFFFFFFFu) return 0;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

RunMode SaverApp::parseCommandLine(const char* text) {
  parentWindow = 0;
  const char* p = text != nullptr ? text : "";
  // The program name, quoted or up to its first space.
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && *p != ' ') ++p;
    if (*p == ' ') ++p;
  }
  while (*p != '\0' && *p != '/' && *p != '-') ++p;
  if (*p == '\0') return RunMode::Configure;
  switch (p[1]) {
    case 'C':
    case 'c':
      parentWindow = numberFrom(p + 2);
      return RunMode::Configure;
    case 'P':
    case 'p':
      parentWindow = numberFrom(p + 2);
      return RunMode::Preview;
    case 'T':
    case 't':
      return RunMode::Test;
    default:
      return RunMode::Saver;
  }
}
