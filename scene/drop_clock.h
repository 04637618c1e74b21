#pragma once
#include <cstdint>

// The drops' clock, in whole milliseconds of the frames' summed whole
// microseconds, so a moment is the same however many frames led to it.
class drop_clock {
public:
    void advance(float seconds);
    double seconds() const { return microseconds_ / 1000 / 1000.0; }

private:
    std::int64_t microseconds_ = 0;
};
