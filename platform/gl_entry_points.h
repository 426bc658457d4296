#pragma once
// OpenGL entry points beyond 1.1 that the program may use, looked up once per context and
// called only through this table. Each is null when the implementation does not offer it.
#include <GL/gl.h>
#include <GL/glext.h>

struct GlEntryPoints {
  PFNGLGENBUFFERSARBPROC genBuffers = nullptr;
  PFNGLBINDBUFFERARBPROC bindBuffer = nullptr;
  PFNGLBUFFERDATAARBPROC bufferData = nullptr;
  PFNGLBUFFERSUBDATAARBPROC bufferSubData = nullptr;
};

// The process-wide table, and whether all four buffer-object entry points were found.
extern GlEntryPoints glEntryPoints;
extern bool vertexBuffersAvailable;

using GlProcLookup = void* (*)(const char* name);

// Fills glEntryPoints and vertexBuffersAvailable through the given lookup (glXGetProcAddress,
// eglGetProcAddress, wglGetProcAddress), in the order glGenBuffersARB, glBindBufferARB,
// glBufferDataARB, glBufferSubDataARB. A name missing from the context's extension string
// counts as absent even when the lookup returns a stub.
void lookUpGlEntryPoints(GlProcLookup lookup);

// Clears the table (no buffer objects), e.g. to exercise the client-array path.
void clearGlEntryPoints();
