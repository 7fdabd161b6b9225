#pragma once

#include <string>

// A module loaded into the host's process. This is the host's one call into the operating
// system that differs between Windows (LoadLibrary) and elsewhere (dlopen); each has its own
// source file. The module is unloaded when the object is destroyed.
class ModuleLibrary {
public:
    // Loads the module at path (UTF-8); when it cannot be loaded, Loaded() is false and
    // Error() says why.
    explicit ModuleLibrary(const std::string& path);
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    const std::string& Error() const { return error_; }

    // The exported function of that name, null when the module exports none.
    template <typename Function>
    Function* Find(const char* name) const {
        return reinterpret_cast<Function*>(FindAddress(name));
    }

private:
    using Address = void (*)();
    Address FindAddress(const char* name) const;

    void* handle_ = nullptr;
    std::string error_;
};
