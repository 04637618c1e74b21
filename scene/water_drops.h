#pragma once

// Drops on the water: rings that spread from where a drop fell. Everything
// is a closed-form function of the time, so a frame at time t is the same
// however t was reached. This is one drop and the pool they share; the
// rain's schedule, the pointer's trail and the rings' geometry have files
// of their own.

// A window never has more drops alive than this: the rain's slots and the
// pointer's drops share it.
constexpr int max_live_drops = 16;
// The pointer's share of the pool where it stirs the water.
constexpr int pointer_drops = 4;
// Seconds from a drop's fall to its retirement, for the longest-lived.
constexpr double drop_lifetime = 4.5;

// One drop: where (view pixels), when (seconds of the rain clock), how
// hard (1 = a usual raindrop; a click is bigger) and for how long.
struct water_drop {
    int view_index = 0; // the view it fell on
    float x = 0, y = 0;
    double start = 0;
    float strength = 0;
    float life = static_cast<float>(drop_lifetime); // seconds, at most drop_lifetime
};

// Whether `drop` has fallen and not yet retired at `time`.
inline bool drop_alive(const water_drop& drop, double time)
{
    const double age = time - drop.start;
    return drop.strength > 0 && age >= 0 && age < drop.life;
}
