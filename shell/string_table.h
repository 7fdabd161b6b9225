#pragma once

#include "host_api/effect.h"

// The effect's strings, looked up by id. Id 1 is the effect's name, id 2 the second line of
// the About text.
struct StringTableEntry {
    A_u_long id;
    A_char text[256];
};

enum StringId : A_u_long {
    StrID_NONE = 0,
    StrID_Name = 1,
    StrID_Description = 2,
    StrID_NUMTYPES = 11,
};

// The text of entry id; an id outside the table gives the empty entry 0.
const A_char* LookupString(A_u_long id);
