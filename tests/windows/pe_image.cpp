#include "tests/windows/pe_image.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr uint16_t kMachineAmd64 = 0x8664;
constexpr uint16_t kMagicPe32Plus = 0x20b;
constexpr size_t kOptionalHeaderDirectoryCount = 108;
constexpr size_t kOptionalHeaderDirectories = 112;
constexpr size_t kSectionHeaderSize = 40;
constexpr uint32_t kDirectoryExport = 0;
constexpr uint32_t kDirectoryImport = 1;
constexpr uint32_t kDirectoryResource = 2;
constexpr uint32_t kResourceHighBit = 0x80000000u;

[[noreturn]] void Damaged(const char* what) {
    throw std::runtime_error(std::string("damaged PE image: ") + what);
}

}  // namespace

PeImage::PeImage(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    if (U16(0) != 0x5a4d) {
        Damaged("no MZ signature");
    }
    const size_t pe = U32(0x3c);
    if (U32(pe) != 0x00004550) {
        Damaged("no PE signature");
    }
    if (U16(pe + 4) != kMachineAmd64) {
        Damaged("not an x86-64 image");
    }
    sectionCount_ = U16(pe + 6);
    const uint16_t optionalSize = U16(pe + 20);
    optionalHeader_ = pe + 24;
    if (U16(optionalHeader_) != kMagicPe32Plus) {
        Damaged("not PE32+");
    }
    sections_ = optionalHeader_ + optionalSize;
    U32(sections_ + size_t{sectionCount_} * kSectionHeaderSize - 4);
}

std::vector<uint8_t> PeImage::ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

uint16_t PeImage::U16(size_t offset) const {
    if (offset > bytes_.size() || bytes_.size() - offset < 2) {
        Damaged("read past the end");
    }
    return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

uint32_t PeImage::U32(size_t offset) const {
    return U16(offset) | static_cast<uint32_t>(U16(offset + 2)) << 16;
}

size_t PeImage::OffsetOfRva(uint32_t rva) const {
    for (size_t i = 0; i < sectionCount_; ++i) {
        const size_t header = sections_ + i * kSectionHeaderSize;
        const uint32_t address = U32(header + 12);
        const uint32_t rawSize = U32(header + 16);
        const uint32_t rawOffset = U32(header + 20);
        if (rva >= address && rva - address < rawSize) {
            const size_t offset = size_t{rawOffset} + (rva - address);
            if (offset >= bytes_.size()) {
                Damaged("section past the end");
            }
            return offset;
        }
    }
    Damaged("address outside every section");
}

std::string PeImage::StringAtRva(uint32_t rva) const {
    std::string text;
    for (size_t offset = OffsetOfRva(rva);; ++offset) {
        if (offset >= bytes_.size()) {
            Damaged("unterminated name");
        }
        if (bytes_[offset] == 0) {
            return text;
        }
        text.push_back(static_cast<char>(bytes_[offset]));
    }
}

PeImage::Directory PeImage::DataDirectory(uint32_t index) const {
    if (index >= U32(optionalHeader_ + kOptionalHeaderDirectoryCount)) {
        return {0, 0};
    }
    const size_t entry = optionalHeader_ + kOptionalHeaderDirectories + size_t{index} * 8;
    return {U32(entry), U32(entry + 4)};
}

std::vector<std::string> PeImage::ExportedNames() const {
    const Directory exports = DataDirectory(kDirectoryExport);
    if (exports.rva == 0) {
        return {};
    }
    const size_t table = OffsetOfRva(exports.rva);
    const uint32_t count = U32(table + 24);
    const size_t names = OffsetOfRva(U32(table + 32));
    if (count > bytes_.size() / 4) {
        Damaged("export name count");
    }
    std::vector<std::string> result;
    for (uint32_t i = 0; i < count; ++i) {
        result.push_back(StringAtRva(U32(names + size_t{i} * 4)));
    }
    return result;
}

uint32_t PeImage::ExportedFunctionCount() const {
    const Directory exports = DataDirectory(kDirectoryExport);
    return exports.rva == 0 ? 0 : U32(OffsetOfRva(exports.rva) + 20);
}

std::vector<std::string> PeImage::ImportedLibraries() const {
    const Directory imports = DataDirectory(kDirectoryImport);
    std::vector<std::string> result;
    if (imports.rva == 0) {
        return result;
    }
    // The descriptor table ends with an all-zero descriptor.
    for (size_t descriptor = OffsetOfRva(imports.rva);; descriptor += 20) {
        const uint32_t name = U32(descriptor + 12);
        if (name == 0 && U32(descriptor + 16) == 0) {
            return result;
        }
        result.push_back(StringAtRva(name));
    }
}

std::optional<uint32_t> PeImage::FindResourceEntry(size_t resources, size_t directory,
                                                   const std::string* name, uint16_t id) const {
    const size_t named = U16(directory + 12);
    const size_t total = named + U16(directory + 14);
    for (size_t i = 0; i < total; ++i) {
        const size_t entry = directory + 16 + i * 8;
        const uint32_t key = U32(entry);
        const bool isNamed = (key & kResourceHighBit) != 0;
        if (name != nullptr && isNamed) {
            // A counted UTF-16 string; resource type names are ASCII.
            const size_t text = resources + (key & ~kResourceHighBit);
            const size_t length = U16(text);
            std::string entryName;
            for (size_t c = 0; c < length; ++c) {
                entryName.push_back(static_cast<char>(U16(text + 2 + c * 2)));
            }
            if (entryName == *name) {
                return U32(entry + 4);
            }
        } else if (name == nullptr && !isNamed && key == id) {
            return U32(entry + 4);
        }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> PeImage::Resource(const std::string& type, uint16_t id,
                                                      uint16_t language) const {
    const Directory directory = DataDirectory(kDirectoryResource);
    if (directory.rva == 0) {
        return std::nullopt;
    }
    const size_t resources = OffsetOfRva(directory.rva);
    // Three levels: type, then name or id, then language; the first two lead to directories.
    const auto typeEntry = FindResourceEntry(resources, resources, &type, 0);
    if (!typeEntry || (*typeEntry & kResourceHighBit) == 0) {
        return std::nullopt;
    }
    const auto idEntry =
        FindResourceEntry(resources, resources + (*typeEntry & ~kResourceHighBit), nullptr, id);
    if (!idEntry || (*idEntry & kResourceHighBit) == 0) {
        return std::nullopt;
    }
    const auto dataEntry =
        FindResourceEntry(resources, resources + (*idEntry & ~kResourceHighBit), nullptr, language);
    if (!dataEntry || (*dataEntry & kResourceHighBit) != 0) {
        return std::nullopt;
    }
    const size_t data = resources + *dataEntry;
    const size_t offset = OffsetOfRva(U32(data));
    const uint32_t size = U32(data + 4);
    if (size > bytes_.size() - offset) {
        Damaged("resource past the end");
    }
    return std::vector<uint8_t>(bytes_.begin() + offset, bytes_.begin() + offset + size);
}
