#include <cstdio>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// With glibc's dynamic TLS, AddressSanitizer's tracking of __tls_get_addr can keep a stale
// thread-local block of a dlopen'ed library (the module, Mesa's driver); LeakSanitizer's tracer
// then faults while scanning it at exit, depending on nothing more than the process's memory
// layout. Leak checking still scans every thread's stack and static TLS without that tracking.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}
#endif

int main(int argc, char** argv) {
    // LeakSanitizer ends the process without flushing stdout.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
