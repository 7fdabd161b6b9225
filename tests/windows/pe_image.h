#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Read-only view of a PE32+ file (a Windows x86-64 DLL or program) as it lies on disk: its
// export and import tables and its resources. Every offset is checked against the file, so a
// damaged or truncated image makes the constructor or a query throw std::runtime_error.
class PeImage {
  public:
    explicit PeImage(std::vector<uint8_t> bytes);

    // The whole content of a file; throws std::runtime_error when it cannot be read.
    static std::vector<uint8_t> ReadFile(const std::string& path);
    static PeImage FromFile(const std::string& path) { return PeImage(ReadFile(path)); }

    // Names in the export name table, in table order.
    std::vector<std::string> ExportedNames() const;
    // Number of exported functions, named or by ordinal only.
    uint32_t ExportedFunctionCount() const;
    // The DLL names of the import table, in table order.
    std::vector<std::string> ImportedLibraries() const;
    // The data of the resource of a named type, a numeric id and a language; nothing when the
    // image holds no such resource.
    std::optional<std::vector<uint8_t>> Resource(const std::string& type, uint16_t id,
                                                 uint16_t language) const;

  private:
    struct Directory {
        uint32_t rva;
        uint32_t size;
    };

    uint16_t U16(size_t offset) const;
    uint32_t U32(size_t offset) const;
    size_t OffsetOfRva(uint32_t rva) const;
    std::string StringAtRva(uint32_t rva) const;
    Directory DataDirectory(uint32_t index) const;
    // Offset of the entry of a resource directory (at offset `directory` in the file) whose
    // name or id matches; nothing when there is none. The entry's target is returned.
    std::optional<uint32_t> FindResourceEntry(size_t resources, size_t directory,
                                              const std::string* name, uint16_t id) const;

    std::vector<uint8_t> bytes_;
    size_t optionalHeader_ = 0;
    size_t sections_ = 0;
    uint16_t sectionCount_ = 0;
};
