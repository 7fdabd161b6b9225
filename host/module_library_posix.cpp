#include "host/module_library.h"

#include <dlfcn.h>

ModuleLibrary::ModuleLibrary(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        error_ = reason != nullptr ? reason : "cannot load " + path;
    }
}

ModuleLibrary::~ModuleLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
}

ModuleLibrary::Address ModuleLibrary::FindAddress(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<Address>(dlsym(handle_, name));
}
