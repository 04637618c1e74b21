// Frame times from the performance counter: whole microseconds of each
// reading, so that the differences of consecutive readings add up to the
// difference of the first and the last with nothing lost on the way.
#pragma once
#include <cstdint>

// Whole microseconds in `count` counts of a counter running at `frequency`
// a second; without overflow for any frequency below 9 THz.
inline std::int64_t counter_microseconds(std::int64_t count, std::int64_t frequency)
{
    if (frequency <= 0)
        return 0;
    return count / frequency * 1000000 + count % frequency * 1000000 / frequency;
}

// Seconds between two readings, as whole microseconds: under 8 s the float
// holds them exactly enough that rounding seconds x 10^6 gives them back.
inline float frame_seconds(std::int64_t now, std::int64_t last, std::int64_t frequency)
{
    const std::int64_t elapsed = counter_microseconds(now, frequency) - counter_microseconds(last, frequency);
    return static_cast<float>(static_cast<double>(elapsed) * 1e-6);
}
