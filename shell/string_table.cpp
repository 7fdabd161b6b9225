#include "shell/string_table.h"

#include <cstddef>

#include "resources/effect_identity.h"

namespace {

constexpr StringTableEntry Entry(A_u_long id, const char* text) {
    StringTableEntry entry{id, {}};
    for (size_t i = 0; text[i] != '\0' && i + 1 < sizeof(entry.text); ++i) {
        entry.text[i] = text[i];
    }
    return entry;
}

constexpr StringTableEntry kStrings[StrID_NUMTYPES] = {
    Entry(0, ""),
    Entry(1, kEffectName),
    Entry(2, "Redraws a layer through a mesh between two of its masks."),
    Entry(3, ""),
    Entry(4, ""),
    Entry(5, ""),
    Entry(6, ""),
    Entry(7, ""),
    Entry(8, ""),
    Entry(9, ""),
    Entry(10, ""),
};

}  // namespace

const A_char* LookupString(A_u_long id) {
    if (id >= StrID_NUMTYPES) {
        return kStrings[StrID_NONE].text;
    }
    return kStrings[id].text;
}
