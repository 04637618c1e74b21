#include "scene/drop_clock.h"

#include <cmath>

void drop_clock::advance(float seconds)
{
    // Not a number, backwards or absurdly far: the frame is not counted.
    if (std::isfinite(seconds) && seconds > 0 && seconds < 1e9f)
        microseconds_ += std::llround(static_cast<double>(seconds) * 1e6);
}
