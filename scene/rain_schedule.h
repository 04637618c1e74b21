#pragma once
#include "scene/water_drops.h"

#include <cstdint>
#include <vector>

// Drops per second per view for the "rain" setting (0..100) where the view
// has `slots` of the pool: 1 is a drop every three seconds (below 1, fewer
// in proportion), 100 fills every slot all the time.
double rain_rate(double rain, int slots);

// The rain on one view: `slots` slots, each with one drop per period at a
// place, moment and life drawn from (seed, slot, period number).
class rain_schedule {
public:
    rain_schedule() = default;
    rain_schedule(std::uint32_t seed, int slots, double rain, float width, float height);
    // The drops alive at `time`, appended to `out`. Nothing falls before 0.
    void live_drops(double time, std::vector<water_drop>& out) const;

private:
    // The slot's period under way at `time`; -1 before its first, and for
    // times too far for a period count.
    std::int64_t period_at(int slot, double time) const;
    // The fall of slot j's drop in period n.
    water_drop drop_of(int slot, std::int64_t period) const;

    std::uint32_t seed_ = 0;
    int slots_ = 0;
    double period_ = 0;
    float width_ = 0, height_ = 0;
};
