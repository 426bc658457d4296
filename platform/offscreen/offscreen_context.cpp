#include "platform/offscreen_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

struct OffscreenContext {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLContext context = EGL_NO_CONTEXT;
  GLuint framebuffer = 0;
  GLuint colour = 0;
  GLuint depth = 0;
  // With samples: the frame is drawn multisampled and resolved into these for reading.
  GLuint resolveFramebuffer = 0;
  GLuint resolveColour = 0;
  int samples = 0;
  int width = 0;
  int height = 0;
};

namespace {

// Framebuffer-object entry points of the core profile, fetched per context.
struct FboCalls {
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
  PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
  PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
  PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC renderbufferStorageMultisample;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;
};

template <typename T>
bool fetch(T& slot, const char* name) {
  slot = reinterpret_cast<T>(eglGetProcAddress(name));
  return slot != nullptr;
}

bool fetchFboCalls(FboCalls& f) {
  return fetch(f.genFramebuffers, "glGenFramebuffers") &&
         fetch(f.bindFramebuffer, "glBindFramebuffer") &&
         fetch(f.genRenderbuffers, "glGenRenderbuffers") &&
         fetch(f.bindRenderbuffer, "glBindRenderbuffer") &&
         fetch(f.renderbufferStorage, "glRenderbufferStorage") &&
         fetch(f.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
         fetch(f.checkFramebufferStatus, "glCheckFramebufferStatus") &&
         fetch(f.deleteFramebuffers, "glDeleteFramebuffers") &&
         fetch(f.deleteRenderbuffers, "glDeleteRenderbuffers") &&
         fetch(f.renderbufferStorageMultisample, "glRenderbufferStorageMultisample") &&
         fetch(f.blitFramebuffer, "glBlitFramebuffer");
}

void fail(const char* what) { std::fprintf(stderr, "off-screen GL: %s\n", what); }

EGLDisplay openSurfacelessDisplay() {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) return EGL_NO_DISPLAY;
  return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

OffscreenContext* createOffscreenContext(int width, int height, int samples) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
    fail("size out of range");
    return nullptr;
  }
  auto* c = new OffscreenContext;
  c->width = width;
  c->height = height;
  c->display = openSurfacelessDisplay();
  if (c->display == EGL_NO_DISPLAY || !eglInitialize(c->display, nullptr, nullptr)) {
    fail("no surfaceless EGL display (is libgl1-mesa-dri installed?)");
    delete c;
    return nullptr;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    fail("desktop OpenGL is not available through EGL");
    destroyOffscreenContext(c);
    return nullptr;
  }
  // The program is written against the fixed-function pipeline: ask for compatibility.
  const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                               EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  c->context = eglCreateContext(c->display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
  if (c->context == EGL_NO_CONTEXT ||
      !eglMakeCurrent(c->display, EGL_NO_SURFACE, EGL_NO_SURFACE, c->context)) {
    fail("cannot create or bind a compatibility-profile context");
    destroyOffscreenContext(c);
    return nullptr;
  }
  FboCalls f{};
  if (!fetchFboCalls(f)) {
    fail("framebuffer objects are not available");
    destroyOffscreenContext(c);
    return nullptr;
  }
  if (samples > 1) {
    GLint most = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &most);
    c->samples = samples < most ? samples : most;
    if (c->samples <= 1) c->samples = 0;
  }
  // Storage of a renderbuffer, multisampled when the context is.
  const auto storage = [&](GLenum format, int count) {
    if (count > 1)
      f.renderbufferStorageMultisample(GL_RENDERBUFFER, count, format, width, height);
    else
      f.renderbufferStorage(GL_RENDERBUFFER, format, width, height);
  };
  if (c->samples > 1) {
    f.genFramebuffers(1, &c->resolveFramebuffer);
    f.bindFramebuffer(GL_FRAMEBUFFER, c->resolveFramebuffer);
    f.genRenderbuffers(1, &c->resolveColour);
    f.bindRenderbuffer(GL_RENDERBUFFER, c->resolveColour);
    storage(GL_RGBA8, 0);
    f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              c->resolveColour);
    if (f.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      fail("resolve framebuffer incomplete");
      destroyOffscreenContext(c);
      return nullptr;
    }
  }
  f.genFramebuffers(1, &c->framebuffer);
  f.bindFramebuffer(GL_FRAMEBUFFER, c->framebuffer);
  f.genRenderbuffers(1, &c->colour);
  f.bindRenderbuffer(GL_RENDERBUFFER, c->colour);
  storage(GL_RGBA8, c->samples);
  f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, c->colour);
  // Depth and stencil as the saver's window has them (24 + 8 bits).
  f.genRenderbuffers(1, &c->depth);
  f.bindRenderbuffer(GL_RENDERBUFFER, c->depth);
  storage(GL_DEPTH24_STENCIL8, c->samples);
  f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, c->depth);
  f.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, c->depth);
  if (f.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    fail("framebuffer incomplete");
    destroyOffscreenContext(c);
    return nullptr;
  }
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glViewport(0, 0, width, height);
  return c;
}

void destroyOffscreenContext(OffscreenContext* c) {
  if (!c) return;
  if (c->context != EGL_NO_CONTEXT) {
    FboCalls f{};
    if (eglGetCurrentContext() == c->context && fetchFboCalls(f)) {
      f.bindFramebuffer(GL_FRAMEBUFFER, 0);
      if (c->framebuffer) f.deleteFramebuffers(1, &c->framebuffer);
      if (c->colour) f.deleteRenderbuffers(1, &c->colour);
      if (c->depth) f.deleteRenderbuffers(1, &c->depth);
      if (c->resolveFramebuffer) f.deleteFramebuffers(1, &c->resolveFramebuffer);
      if (c->resolveColour) f.deleteRenderbuffers(1, &c->resolveColour);
    }
    eglMakeCurrent(c->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(c->display, c->context);
  }
  // The display stays initialised: EGL displays are per process and reference-free, and
  // terminating it under another live context would pull that one's driver away.
  delete c;
}

int offscreenWidth(const OffscreenContext* c) { return c ? c->width : 0; }
int offscreenHeight(const OffscreenContext* c) { return c ? c->height : 0; }

std::vector<std::uint8_t> readOffscreenPixels(const OffscreenContext* c) {
  std::vector<std::uint8_t> pixels;
  readOffscreenPixels(c, pixels);
  return pixels;
}

void readOffscreenPixels(const OffscreenContext* c, std::vector<std::uint8_t>& pixels) {
  if (!c) {
    pixels.clear();
    return;
  }
  // Same size as last time: the bytes are overwritten in place, nothing is allocated.
  pixels.resize(static_cast<std::size_t>(c->width) * c->height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  FboCalls f{};
  if (c->samples > 1 && fetchFboCalls(f)) {
    // The samples are averaged into the single-sampled copy, which is then read.
    f.bindFramebuffer(GL_READ_FRAMEBUFFER, c->framebuffer);
    f.bindFramebuffer(GL_DRAW_FRAMEBUFFER, c->resolveFramebuffer);
    f.blitFramebuffer(0, 0, c->width, c->height, 0, 0, c->width, c->height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    f.bindFramebuffer(GL_READ_FRAMEBUFFER, c->resolveFramebuffer);
    glReadPixels(0, 0, c->width, c->height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    f.bindFramebuffer(GL_FRAMEBUFFER, c->framebuffer);
    return;
  }
  glReadPixels(0, 0, c->width, c->height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

int offscreenSamples(const OffscreenContext* c) { return c ? c->samples : 0; }

void* offscreenProcAddress(const char* name) {
  return reinterpret_cast<void*>(eglGetProcAddress(name));
}
