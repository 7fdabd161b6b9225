// Sanitizer builds only: what LeakSanitizer is not to report. Fontconfig keeps the fonts that
// Cairo's text looked up in caches of its own until the process ends.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
