#include "host/frame_diagnostics.h"

#include <GL/gl.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

FrameDiagnostics::FrameDiagnostics() {
  const char* check = std::getenv("PLASMORA_CHECK_GL");
  checkGl_ = check != nullptr && std::strcmp(check, "0") != 0 && *check != '\0';
#ifndef _WIN32
  // The crash trigger tests the restore after a fatal signal, which only the X11 run has.
  if (const char* kind = std::getenv("PLASMORA_TEST_CRASH")) {
    struct Named {
      const char* name;
      int signal;
    };
    for (const Named& n : {Named{"segv", SIGSEGV}, Named{"bus", SIGBUS}, Named{"fpe", SIGFPE},
                           Named{"abort", SIGABRT}})
      if (std::strcmp(kind, n.name) == 0) crashSignal_ = n.signal;
  }
#endif
}

void FrameDiagnostics::frameDrawn() {
  ++frames_;
  if (checkGl_) {
    // A bounded drain: a lost context keeps returning errors.
    for (int i = 0; i < 8; ++i) {
      GLenum error = glGetError();
      if (error == GL_NO_ERROR) break;
      std::fprintf(stderr, "plasmora: GL error 0x%04x in frame %llu\n", error,
                   static_cast<unsigned long long>(frames_));
    }
  }
  if (crashSignal_ != 0 && frames_ == 5) std::raise(crashSignal_);
}
