#include "host/image_library.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

namespace quorvel::host {

namespace {

const ImageLibrary* OpenImageLibrary() {
    void* handle = dlopen(QUORVEL_IMAGE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    const char* error = handle == nullptr ? dlerror() : nullptr;
    using Entry = const ImageLibrary* (*)();
    const auto entry =
        handle != nullptr ? reinterpret_cast<Entry>(dlsym(handle, "QuorvelImageLibrary")) : nullptr;
    if (entry == nullptr) {
        throw std::runtime_error(error != nullptr ? error : "it has no entry point");
    }
    // Never unloaded: the library's own worlds and thread pool live until the process ends.
    return entry();
}

}  // namespace

const ImageLibrary& LoadImageLibrary(const std::string& path, const char* action) {
    try {
        static const ImageLibrary* library = OpenImageLibrary();
        return *library;
    } catch (const std::runtime_error& error) {
        throw ImageFileError(std::string("cannot ") + action + " image '" + path +
                             "': the image library " + QUORVEL_IMAGE_LIBRARY_PATH +
                             " cannot be loaded: " + error.what());
    }
}

std::unique_ptr<World> ReadImageFile(const std::string& path, Depth depth) {
    const ImageLibrary& library = LoadImageLibrary(path, "read");
    const std::unique_ptr<World, void (*)(World*)> image(library.read(path, depth).release(),
                                                         library.dispose);
    // The host finds the worlds it hands to the effect in its own registry, which the
    // library's world is not in: the host takes a copy.
    auto world = std::make_unique<World>(depth, image->Width(), image->Height());
    const std::size_t rowBytes =
        static_cast<std::size_t>(std::min(world->RowBytes(), image->RowBytes()));
    for (A_long y = 0; y < world->Height(); ++y) {
        std::memcpy(world->Row(y), image->Row(y), rowBytes);
    }
    return world;
}

}  // namespace quorvel::host
