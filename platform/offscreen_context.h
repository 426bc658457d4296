#pragma once
// An OpenGL 1.x (compatibility profile) context that needs no display: Mesa's EGL on the
// surfaceless platform, rendering into a framebuffer object of a chosen size. Tests, the
// asset tools and the frame recorder draw with it exactly as the saver draws into a window.
#include <cstdint>
#include <vector>

struct OffscreenContext;

// Creates the context and makes it current with its framebuffer bound and the viewport set
// to the whole size. Returns null (and prints why on stderr) when no context can be made.
// With `samples` above 1 the frame is drawn with that many samples per pixel (at most what
// the driver offers) and averaged when it is read.
OffscreenContext* createOffscreenContext(int width, int height, int samples = 0);

// Releases the context; the calling thread then has no current context.
void destroyOffscreenContext(OffscreenContext* context);

int offscreenWidth(const OffscreenContext* context);
int offscreenHeight(const OffscreenContext* context);

// Reads the framebuffer as RGBA bytes, bottom row first (as glReadPixels gives it).
std::vector<std::uint8_t> readOffscreenPixels(const OffscreenContext* context);
// The same into the caller's buffer, resized to fit; a buffer reused from frame to frame is
// not reallocated. A null context leaves it empty.
void readOffscreenPixels(const OffscreenContext* context, std::vector<std::uint8_t>& pixels);

// Samples per pixel of the frame; 0 when it is not multisampled.
int offscreenSamples(const OffscreenContext* context);

// Looks up a GL entry point of the current context (extensions, buffer objects).
void* offscreenProcAddress(const char* name);
