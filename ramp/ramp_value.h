#pragma once

// One key point of a ramp.
struct RampKey {
    float t;
    float v;
};

// What Ramp::Evaluate gives for a curve value: clamped to [0, 1], anything that is not a
// number taken as 1.
inline float ClampRampValue(float value) {
    const float r = 1.0f > value ? value : 1.0f;
    return r > 0.0f ? r : 0.0f;
}
