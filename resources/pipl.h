#pragma once

#include <cstdint>
#include <vector>

// The module's PiPL resource, which tells the host what the module is before it is loaded:
// a header and 12 properties, each {vendor '8BIM', key, id 0, length, data padded to 4 bytes},
// all integers little-endian. Built from one table of the properties.

struct PiplProperty {
    uint32_t key;               // four-character code
    std::vector<uint8_t> data;  // as counted by the property's length field
};

// The 12 properties in resource order.
std::vector<PiplProperty> PiplProperties();

// The resource's bytes.
std::vector<uint8_t> BuildPipl();

// Windows resource type name, id and language of the PiPL.
constexpr char kPiplResourceType[] = "PIPL";
constexpr int kPiplResourceId = 16000;
constexpr int kPiplResourceLanguage = 1033;
