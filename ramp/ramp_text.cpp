#include "ramp/ramp_text.h"

#include <charconv>

namespace {

const char* WordFor(const RampWord* words, size_t count, int32_t value) {
    for (size_t i = 0; i < count; ++i) {
        if (words[i].value == value) {
            return words[i].word;
        }
    }
    return nullptr;
}

template <size_t N>
void AppendWordBetweenBlanks(std::string* text, const RampWord (&words)[N], int32_t value) {
    if (const char* word = WordFor(words, N, value)) {
        *text += ' ';
        *text += word;
        *text += ' ';
    }
}

// A float as a text stream in its default state writes it: widened to double, six
// significant digits, the shorter of fixed and exponential form, independent of any locale.
void AppendNumber(std::string* text, float value) {
    char digits[32];
    const std::to_chars_result end =
        std::to_chars(digits, digits + sizeof digits, double(value), std::chars_format::general, 6);
    text->append(digits, end.ptr);
}

}  // namespace

std::string RampToText(const Ramp& ramp) {
    std::string text = kRampTextTag;
    AppendWordBetweenBlanks(&text, kRampModeWords, ramp.mode);
    AppendWordBetweenBlanks(&text, kRampInterpolationWords, ramp.interpolation);
    if (ramp.points != nullptr) {
        for (const auto& [t, v] : *ramp.points) {
            text += ' ';
            text += kRampTextKey;
            text += ' ';
            AppendNumber(&text, t);
            text += ' ';
            text += kRampTextValue;
            text += ' ';
            AppendNumber(&text, v);
        }
    }
    return text;
}
