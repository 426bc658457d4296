// Linked into every test and every program a test runs, in the sanitizer build only: the
// sanitizers' settings travel with the binaries instead of the environment, so a test run by
// hand or a saver started by a test reports exactly as under CTest.
#include <dlfcn.h>

#include <cstdlib>

// UBSan: stop at the first report, with its stack.
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

// LeakSanitizer ignores only what system libraries keep until the process ends: Mesa's, and
// the caches of the desktop libraries under the dialog and the audio output (D-Bus,
// fontconfig, GLib and GTK, which free nothing at exit by design). A suppression matches when
// a frame of the allocation lies in the named library.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:swrast_dri.so\n"
         "leak:libgallium\n"
         "leak:libEGL_mesa.so\n"
         "leak:libGLX_mesa.so\n"
         "leak:libglapi.so\n"
         "leak:libLLVM\n"
         "leak:libdbus-1.so\n"
         "leak:libfontconfig.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libgobject-2.0.so\n"
         "leak:libgio-2.0.so\n"
         "leak:libgtk-3.so\n"
         "leak:libgdk-3.so\n";
}

// Mesa's shader disk cache writes from a thread of its own that may still be finishing when a
// short run exits; LeakSanitizer's check, stopping every thread at that moment, can then crash
// ("Tracer caught signal 11") and fail a run that leaked nothing. Sanitizer builds compile their
// shaders afresh instead.
__attribute__((constructor)) static void noShaderDiskCache() {
  setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
}

// Every library the process loads at run time (the GL vendor libraries, the DRI driver and
// what they pull in) stays mapped until the process ends, whatever the GL and X client
// libraries unload before.
//
// LeakSanitizer scans at exit, after Mesa may already have closed its driver (eglTerminate,
// XCloseDisplay, the vendor library's own clean-up). An unmapped library takes its globals
// with it: blocks that only those globals pointed to turn into leaks, and their allocation
// frames no longer name a module, so no suppression can match them. With every loaded library
// pinned, its globals stay roots of the scan and its frames keep their library's name.

// The sanitizer's own dlopen, which also tracks the loaded modules.
extern "C" void* __interceptor_dlopen(const char* file, int mode) __attribute__((weak));

extern "C" void* dlopen(const char* file, int mode) {
  using Open = void* (*)(const char*, int);
  static const Open open = __interceptor_dlopen
                               ? __interceptor_dlopen
                               : reinterpret_cast<Open>(dlsym(RTLD_NEXT, "dlopen"));
  return open(file, mode | RTLD_NODELETE);
}
