#pragma once
#include <cstdint>

// The drops' clock, in whole milliseconds as the frames' ticks come, so a
// moment is the same however many frames led to it.
class rain_clock {
public:
    void advance(float seconds);
    double seconds() const { return milliseconds_ / 1000.0; }

private:
    std::int64_t milliseconds_ = 0;
};
