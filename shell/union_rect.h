#pragma once

#include "host_api/effect.h"

// A rectangle is empty when left >= right or top >= bottom.
bool IsEmptyRect(const PF_LRect& rect);

// Widens target to cover source. An empty source changes nothing; an empty target becomes
// the source, whatever the source holds.
void UnionRect(const PF_LRect* source, PF_LRect* target);
