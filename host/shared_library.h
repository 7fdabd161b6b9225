#pragma once

#include <string>

namespace quorvel::host {

// A shared library loaded by path. The platform's loader lives behind this one class: dlopen
// and dlsym here, LoadLibrary and GetProcAddress on Windows.
class SharedLibrary {
  public:
    // Throws HostError with the loader's message when the library cannot be loaded.
    explicit SharedLibrary(const std::string& path);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of an exported symbol; null when the library does not export it.
    void* Symbol(const char* name) const;

  private:
    void* handle_;
};

}  // namespace quorvel::host
