// The built Windows module as the host sees it on disk: its exports, the DLLs it needs and
// its PiPL resource.
#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/pipl.h"
#include "tests/windows/pe_image.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A DLL that a plain Windows installation has: one the loader finds in the system directory
// alone. The compiler's runtime DLLs (libstdc++, libgcc, libwinpthread) are not among them.
bool IsSystemLibrary(const std::string& name) {
    HMODULE library = LoadLibraryExA(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) {
        return false;
    }
    FreeLibrary(library);
    return true;
}

TEST(ModuleImageTest, ExportsExactlyTheTwoEntryPointsAndNeedsOnlySystemLibraries) {
    const PeImage image = PeImage::FromFile(QUORVEL_MODULE_PATH);
    EXPECT_EQ(image.ExportedNames(),
              (std::vector<std::string>{"EffectMain", "PluginDataEntryFunction"}));
    EXPECT_EQ(image.ExportedFunctionCount(), 2u) << "no export by ordinal only";

    const std::vector<std::string> imports = image.ImportedLibraries();
    EXPECT_FALSE(imports.empty());
    for (const std::string& name : imports) {
        EXPECT_TRUE(IsSystemLibrary(name)) << name;
    }
    EXPECT_FALSE(IsSystemLibrary("libstdc++-6.dll"));
    EXPECT_FALSE(IsSystemLibrary("libwinpthread-1.dll"));
}

TEST(ModuleImageTest, CarriesThePiplResource) {
    const PeImage image = PeImage::FromFile(QUORVEL_MODULE_PATH);
    const auto pipl = image.Resource(kPiplResourceType, kPiplResourceId, kPiplResourceLanguage);
    ASSERT_TRUE(pipl);
    ASSERT_EQ(pipl->size(), 286u);
    EXPECT_EQ(*pipl, BuildPipl());

    // Only under that type, id and language.
    EXPECT_FALSE(image.Resource("PIPM", kPiplResourceId, kPiplResourceLanguage));
    EXPECT_FALSE(image.Resource(kPiplResourceType, kPiplResourceId + 1, kPiplResourceLanguage));
    EXPECT_FALSE(image.Resource(kPiplResourceType, kPiplResourceId, 0));
}

TEST(ModuleImageTest, DamagedImagesAreRejectedNotReadPastTheirEnd) {
    const Bytes bytes = PeImage::ReadFile(QUORVEL_MODULE_PATH);
    ASSERT_GT(bytes.size(), 4096u);

    Bytes notMz = bytes;
    notMz[0] = 'X';
    EXPECT_THROW(PeImage{notMz}, std::runtime_error);
    Bytes farHeader(bytes.begin(), bytes.begin() + 4096);
    farHeader[0x3c] = 0xff;
    farHeader[0x3d] = 0xff;
    EXPECT_THROW(PeImage{farHeader}, std::runtime_error);
    // The export table lies far behind the first 64 KiB, after the code.
    EXPECT_THROW(PeImage(Bytes(bytes.begin(), bytes.begin() + 65536)).ExportedNames(),
                 std::runtime_error);

    // Cut anywhere in the headers, the reader throws rather than reading beyond the bytes.
    for (size_t size = 0; size < 4096; size += 7) {
        EXPECT_THROW(PeImage(Bytes(bytes.begin(), bytes.begin() + size)).ImportedLibraries(),
                     std::runtime_error)
            << size;
    }
}

}  // namespace
