#include "scene/wave_params.h"

namespace {

// What the settings' range-guarded read falls back to for every slider. A
// value that reaches us outside 0..100 anyway (or NaN, which would make the
// grid size undefined) is treated the same way, so the grid always stays
// within 20..100 and its 16-bit indices in range.
constexpr double fallback_percent = 50;

double guarded(double percent)
{
    return (percent >= 0 && percent <= 100) ? percent : fallback_percent;
}

} // namespace

wave_params derive_wave_params(double quality, double speed, double freq, double amp)
{
    // The constants are single-precision floats on purpose and the arithmetic
    // is done in double: 0.8f is a hair above 0.8, so every integral quality
    // q truncates to exactly 20 + floor(0.8 q).
    wave_params params;
    const int n = static_cast<int>(guarded(quality) * 0.8f + 20.0f);
    params.columns = n;
    params.rows = n;
    params.speed = static_cast<float>(guarded(speed) * 0.15f + 5.0f);
    params.freq = static_cast<float>(guarded(freq) * 0.18f + 2.0f);
    params.amp = static_cast<float>(guarded(amp) * 0.001f);
    return params;
}
