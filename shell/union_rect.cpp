#include "shell/union_rect.h"

#include <algorithm>

bool IsEmptyRect(const PF_LRect& rect) {
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

void UnionRect(const PF_LRect* source, PF_LRect* target) {
    if (IsEmptyRect(*target)) {
        *target = *source;
        return;
    }
    if (IsEmptyRect(*source)) {
        return;
    }
    target->left = std::min(target->left, source->left);
    target->top = std::min(target->top, source->top);
    target->right = std::max(target->right, source->right);
    target->bottom = std::max(target->bottom, source->bottom);
}
