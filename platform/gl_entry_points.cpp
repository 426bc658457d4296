#include "platform/gl_entry_points.h"

#include <cstring>

GlEntryPoints glEntryPoints;
bool vertexBuffersAvailable = false;

namespace {

// Whole-word search in the space-separated extension list of the current context.
bool contextHasExtension(const char* name) {
  const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (!list) return false;
  const std::size_t n = std::strlen(name);
  for (const char* p = std::strstr(list, name); p; p = std::strstr(p + 1, name)) {
    const bool startOk = p == list || p[-1] == ' ';
    const bool endOk = p[n] == ' ' || p[n] == '\0';
    if (startOk && endOk) return true;
  }
  return false;
}

}  // namespace

void lookUpGlEntryPoints(GlProcLookup lookup) {
  clearGlEntryPoints();
  // Some loaders hand out stubs for any name; only trust names the context advertises.
  if (!lookup || !contextHasExtension("GL_ARB_vertex_buffer_object")) return;
  glEntryPoints.genBuffers = reinterpret_cast<PFNGLGENBUFFERSARBPROC>(lookup("glGenBuffersARB"));
  glEntryPoints.bindBuffer = reinterpret_cast<PFNGLBINDBUFFERARBPROC>(lookup("glBindBufferARB"));
  glEntryPoints.bufferData = reinterpret_cast<PFNGLBUFFERDATAARBPROC>(lookup("glBufferDataARB"));
  glEntryPoints.bufferSubData =
      reinterpret_cast<PFNGLBUFFERSUBDATAARBPROC>(lookup("glBufferSubDataARB"));
  vertexBuffersAvailable = glEntryPoints.genBuffers && glEntryPoints.bindBuffer &&
                           glEntryPoints.bufferData && glEntryPoints.bufferSubData;
}

void clearGlEntryPoints() {
  glEntryPoints = GlEntryPoints{};
  vertexBuffersAvailable = false;
}
