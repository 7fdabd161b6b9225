#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/windows/pe_image.h"

namespace {

// A DLL that a plain Windows installation has: one the loader finds in the system directory
// alone. Runtime DLLs of the compiler (libstdc++, libgcc, libwinpthread) are not among them.
bool IsSystemLibrary(const std::string& name) {
    HMODULE library = LoadLibraryExA(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) return false;
    FreeLibrary(library);
    return true;
}

}  // namespace

TEST(ModuleImageTest, SampleModuleExportsItsFunctionAndImportsOnlySystemLibraries) {
    const PeImage image = PeImage::FromFile(QUORVEL_SAMPLE_MODULE_PATH);
    EXPECT_EQ(image.ExportedNames(), std::vector<std::string>{"QuorvelSampleAnswer"});
    EXPECT_EQ(image.ExportedFunctionCount(), 1u);
    const std::vector<std::string> imports = image.ImportedLibraries();
    EXPECT_FALSE(imports.empty());
    for (const std::string& name : imports) EXPECT_TRUE(IsSystemLibrary(name)) << name;
    EXPECT_FALSE(IsSystemLibrary("libstdc++-6.dll"));
    EXPECT_FALSE(image.Resource("PIPL", 16000, 1033));
}

TEST(ModuleImageTest, DamagedImagesAreRejectedNotReadPastTheirEnd) {
    const std::vector<uint8_t> bytes = PeImage::ReadFile(QUORVEL_SAMPLE_MODULE_PATH);
    ASSERT_GT(bytes.size(), 1024u);

    EXPECT_THROW(PeImage(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 0x3c)),
                 std::runtime_error);
    std::vector<uint8_t> notPe = bytes;
    notPe[0] = 'X';
    EXPECT_THROW(PeImage{notPe}, std::runtime_error);

    // Cut anywhere, every query either answers or throws; none reads outside the bytes.
    size_t answered = 0;
    for (size_t size = 0; size < bytes.size(); size += 97) {
        try {
            const PeImage cut(std::vector<uint8_t>(bytes.begin(), bytes.begin() + size));
            cut.ExportedNames();
            cut.ImportedLibraries();
            cut.Resource("PIPL", 16000, 1033);
            ++answered;
        } catch (const std::runtime_error&) {
        }
    }
    EXPECT_LT(answered, bytes.size() / 97);
}
