#include "host/module_library.h"

#include <windows.h>

#include <vector>

namespace {

// Paths are UTF-8 everywhere in the host; Windows takes them as UTF-16.
std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
    return std::wstring(wide.data());
}

}  // namespace

ModuleLibrary::ModuleLibrary(const std::string& path)
    : handle_(LoadLibraryW(Widen(path).c_str())) {
    if (handle_ == nullptr) {
        error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    }
}

ModuleLibrary::~ModuleLibrary() {
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

ModuleLibrary::Address ModuleLibrary::FindAddress(const char* name) const {
    if (handle_ == nullptr) return nullptr;
    return reinterpret_cast<Address>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}
