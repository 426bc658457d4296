#include "platform/shared_library.h"

#include <dlfcn.h>

// RTLD_LOCAL: the library's names never satisfy those of another one loaded later.
SharedLibrary loadSharedLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }

void* sharedLibrarySymbol(SharedLibrary library, const char* name) {
  return library != nullptr ? dlsym(library, name) : nullptr;
}

void freeSharedLibrary(SharedLibrary library) {
  if (library != nullptr) dlclose(library);
}
