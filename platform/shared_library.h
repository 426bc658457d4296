#pragma once
// Libraries loaded while the program runs, and the functions found in them by name.

using SharedLibrary = void*;

// Null when the file cannot be loaded.
SharedLibrary loadSharedLibrary(const char* path);
// The exported function or object of that name; null when the library has none.
void* sharedLibrarySymbol(SharedLibrary library, const char* name);
// Null is ignored.
void freeSharedLibrary(SharedLibrary library);
