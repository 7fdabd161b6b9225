// Sanitizer builds only: keep every shared object loaded until the process ends, so that
// LeakSanitizer can symbolise what Mesa's driver allocated and our own leaks keep their stacks.
extern "C" int dlclose(void*) { return 0; }
