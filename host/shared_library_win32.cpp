#include <windows.h>

#include "host/host_error.h"
#include "host/shared_library.h"

namespace quorvel::host {

SharedLibrary::SharedLibrary(const std::string& path) : handle_(nullptr) {
    handle_ = LoadLibraryA(path.c_str());
    if (handle_ == nullptr) {
        throw HostError("cannot load " + path + ": error " + std::to_string(GetLastError()));
    }
}

SharedLibrary::~SharedLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* SharedLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace quorvel::host
