#include "platform/renderer_kind.h"

#include <cstring>
#include <initializer_list>

bool isSoftwareRenderer(const char* rendererName) {
  if (rendererName == nullptr) return true;  // no context to ask: take the cheap path
  for (const char* name :
       {"llvmpipe", "softpipe", "Software Rasterizer", "swrast", "GDI Generic", "SWR"}) {
    if (std::strstr(rendererName, name) != nullptr) return true;
  }
  return false;
}
