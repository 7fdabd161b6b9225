#include <atomic>

#include "platform/win32.h"

DWORD GetCurrentThreadId() {
    // Numbered in the order threads first ask, from 1, and never handed out twice, so that a
    // window's creator is never mistaken for a later thread.
    static std::atomic<DWORD> next{1};
    thread_local const DWORD id = next.fetch_add(1);
    return id;
}
