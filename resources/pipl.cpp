#include "resources/pipl.h"

#include <cstring>

#include "resources/effect_identity.h"

namespace {

constexpr uint32_t FourChar(const char (&code)[5]) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3]));
}

// How a property's value is stored.
enum class PiplValue {
    Long,          // u32 number (also four-character codes)
    Short,         // u16 number
    ShortPair,     // u16 number, u16 second
    PascalString,  // count byte, characters, zeros up to a multiple of 4
    CString,       // characters, NUL, zeros up to a multiple of 4
};

struct PiplPropertyRow {
    char key[5];
    PiplValue value;
    uint32_t number;
    uint32_t second;
    const char* text;
};

constexpr PiplPropertyRow kPiplPropertyRows[] = {
    {"kind", PiplValue::Long, static_cast<uint32_t>(kEffectKind), 0, nullptr},
    {"name", PiplValue::PascalString, 0, 0, kEffectName},
    {"catg", PiplValue::PascalString, 0, 0, kEffectCategory},
    {"8664", PiplValue::CString, 0, 0, kEntryPointName},
    {"ePVR", PiplValue::ShortPair, 2, 0, nullptr},  // PiPL version 2.0
    {"eSVR", PiplValue::ShortPair, kEffectApiMajorVersion, kEffectApiMinorVersion, nullptr},
    {"eVER", PiplValue::Long, EFFECT_VERSION, 0, nullptr},
    {"eINF", PiplValue::Short, 0, 0, nullptr},
    {"eGLO", PiplValue::Long, static_cast<uint32_t>(kGlobalOutFlags), 0, nullptr},
    {"eGL2", PiplValue::Long, static_cast<uint32_t>(kGlobalOutFlags2), 0, nullptr},
    {"eMNA", PiplValue::PascalString, 0, 0, kEffectMatchName},
    {"aeFL", PiplValue::Long, static_cast<uint32_t>(kEffectReservedInfo), 0, nullptr},
};

constexpr uint16_t kPiplHeaderWord = 1;
constexpr uint32_t kPropertyListVersion = 0;
constexpr char kVendor[5] = "8BIM";

void PutShort(std::vector<uint8_t>& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void PutLong(std::vector<uint8_t>& bytes, uint32_t value) {
    PutShort(bytes, value & 0xFFFF);
    PutShort(bytes, value >> 16);
}

void PadToFour(std::vector<uint8_t>& bytes) {
    while (bytes.size() % 4 != 0) {
        bytes.push_back(0);
    }
}

std::vector<uint8_t> Encode(const PiplPropertyRow& row) {
    std::vector<uint8_t> data;
    switch (row.value) {
        case PiplValue::Long:
            PutLong(data, row.number);
            break;
        case PiplValue::Short:
            PutShort(data, row.number);
            break;
        case PiplValue::ShortPair:
            PutShort(data, row.number);
            PutShort(data, row.second);
            break;
        case PiplValue::PascalString:
            data.push_back(static_cast<uint8_t>(std::strlen(row.text)));
            data.insert(data.end(), row.text, row.text + std::strlen(row.text));
            PadToFour(data);
            break;
        case PiplValue::CString:
            data.insert(data.end(), row.text, row.text + std::strlen(row.text) + 1);
            PadToFour(data);
            break;
    }
    return data;
}

}  // namespace

std::vector<PiplProperty> PiplProperties() {
    std::vector<PiplProperty> properties;
    for (const PiplPropertyRow& row : kPiplPropertyRows) {
        properties.push_back(PiplProperty{FourChar(row.key), Encode(row)});
    }
    return properties;
}

std::vector<uint8_t> BuildPipl() {
    const std::vector<PiplProperty> properties = PiplProperties();
    std::vector<uint8_t> bytes;
    PutShort(bytes, kPiplHeaderWord);
    PutLong(bytes, kPropertyListVersion);
    PutLong(bytes, static_cast<uint32_t>(properties.size()));
    for (const PiplProperty& property : properties) {
        PutLong(bytes, FourChar(kVendor));
        PutLong(bytes, property.key);
        PutLong(bytes, 0);  // id
        PutLong(bytes, static_cast<uint32_t>(property.data.size()));
        std::vector<uint8_t> data = property.data;
        PadToFour(data);
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    return bytes;
}
