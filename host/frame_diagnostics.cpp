#include "host/frame_diagnostics.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

void (*frameDrawnHook)(std::uint64_t) = nullptr;

FrameDiagnostics::FrameDiagnostics() {
  const char* check = std::getenv("PLASMORA_CHECK_GL");
  checkGl_ = check != nullptr && std::strcmp(check, "0") != 0 && *check != '\0';
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
  if (frameDrawnHook != nullptr) frameDrawnHook(frames_);
}
