// Seconds between two GetTickCount readings.
#pragma once
#include <cstdint>

// The difference is taken in unsigned 32 bits, so the counter's wrap after
// about 49.7 days still gives the small true difference.
inline float frame_seconds(std::uint32_t now, std::uint32_t last)
{
    std::uint32_t elapsed = now - last;
    return static_cast<float>(elapsed * 0.001f);
}
