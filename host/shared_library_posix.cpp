#include <dlfcn.h>

#include "host/host_error.h"
#include "host/shared_library.h"

namespace quorvel::host {

SharedLibrary::SharedLibrary(const std::string& path) : handle_(nullptr) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw HostError("cannot load " + path + ": " + (reason != nullptr ? reason : "unknown"));
    }
}

SharedLibrary::~SharedLibrary() {
    dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const {
    return dlsym(handle_, name);
}

}  // namespace quorvel::host
