#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <system_error>

#include "ramp/ramp_text.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Hands out the white-space-separated words of a bounded text one after another.
class WordReader {
  public:
    WordReader(const char* text, size_t size) {
        const void* nul = std::memchr(text, '\0', size);
        next_ = text;
        end_ = nul != nullptr ? static_cast<const char*>(nul) : text + size;
    }

    // The next word, or an empty view at the end of the text.
    std::string_view Next() {
        while (next_ != end_ && IsBlank(*next_)) {
            ++next_;
        }
        const char* start = next_;
        while (next_ != end_ && !IsBlank(*next_)) {
            ++next_;
        }
        return std::string_view(start, size_t(next_ - start));
    }

  private:
    const char* next_;
    const char* end_;
};

template <size_t N>
bool FindWord(const RampWord (&words)[N], std::string_view word, int32_t* value) {
    for (const RampWord& candidate : words) {
        if (word == candidate.word) {
            *value = candidate.value;
            return true;
        }
    }
    return false;
}

// A whole word that reads as one float, in the forms a text stream writes (inf and nan
// included); nothing out of a float's range.
bool ParseNumber(std::string_view word, float* value) {
    if (word.empty()) {
        return false;
    }
    const std::from_chars_result result =
        std::from_chars(word.data(), word.data() + word.size(), *value);
    return result.ec == std::errc() && result.ptr == word.data() + word.size();
}

}  // namespace

PF_Err ReadRampText(const char* text, size_t size, Ramp* ramp) {
    if (text == nullptr) {
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    WordReader reader(text, size);
    if (reader.Next() != kRampTextTag) {
        return PF_Err_UNRECOGNIZED_PARAM_TYPE;
    }
    int32_t mode = ramp->mode;
    int32_t interpolation = ramp->interpolation;
    std::string_view word = reader.Next();
    if (FindWord(kRampModeWords, word, &mode)) {
        word = reader.Next();
    }
    if (FindWord(kRampInterpolationWords, word, &interpolation)) {
        word = reader.Next();
    }
    RampPoints points;
    while (!word.empty()) {
        float t;
        float v;
        if (word != kRampTextKey || !ParseNumber(reader.Next(), &t) || !std::isfinite(t) ||
            reader.Next() != kRampTextValue || !ParseNumber(reader.Next(), &v)) {
            return PF_Err_UNRECOGNIZED_PARAM_TYPE;
        }
        points[t] = v;
        word = reader.Next();
    }
    ramp->mode = mode;
    ramp->interpolation = interpolation;
    ramp->points->swap(points);
    return PF_Err_NONE;
}
