#include "scene/rain_schedule.h"

#include <algorithm>
#include <cmath>

namespace {

// The rain's lightest: one drop every three seconds on a view.
constexpr double lightest_rate = 1.0 / 3.0;
// A raindrop lives between this share of drop_lifetime and all of it, so
// that even when the slots are always busy the drops fall at moments of
// their own, not in step.
constexpr double shortest_life = 2.0 / 3.0;
// No rain slower than a drop in about thirty years: the period count stays
// far inside what a 64-bit integer holds.
constexpr double longest_period = 1e9;

std::uint64_t mix(std::uint64_t x)
{
    // splitmix64's finaliser: every input bit reaches every output bit.
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A number in [0, 1) drawn from (seed, slot, period, which).
double draw(std::uint32_t seed, int slot, std::int64_t period, int which)
{
    std::uint64_t h = mix(seed);
    h = mix(h ^ static_cast<std::uint64_t>(slot));
    h = mix(h ^ static_cast<std::uint64_t>(period));
    h = mix(h ^ static_cast<std::uint64_t>(which));
    return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

} // namespace

double rain_rate(double rain, int slots)
{
    if (!(rain > 0) || slots <= 0)
        return 0;
    const double fullest = slots / drop_lifetime; // every slot busy all the time
    if (fullest <= lightest_rate || rain < 1)
        return std::min(fullest, lightest_rate * std::min(rain, 1.0));
    // Evenly on a logarithmic scale, as rain is heard: 1 a drop every few
    // seconds, 100 a shower.
    const double share = (std::min(rain, 100.0) - 1) / 99;
    return std::min(fullest, lightest_rate * std::pow(fullest / lightest_rate, share));
}

rain_schedule::rain_schedule(std::uint32_t seed, int slots, double rain, float width, float height)
    : seed_(seed), width_(width), height_(height)
{
    const double rate = rain_rate(rain, slots);
    const double period = rate > 0 ? slots / rate : 0; // never shorter than a drop's life
    // A rain so light that its period would not fit a count is no rain.
    if (period > 0 && period <= longest_period) {
        slots_ = slots;
        period_ = period;
    }
}

std::int64_t rain_schedule::period_at(int slot, double time) const
{
    // The slots take turns through the period.
    const double period = std::floor((time - slot * period_ / slots_) / period_);
    return period >= 0 && period < 1e15 ? static_cast<std::int64_t>(period) : -1; // NaN: neither
}

water_drop rain_schedule::drop_of(int slot, std::int64_t period) const
{
    // Each drop falls at a moment of its own in its slot's period, early
    // enough to retire before the next one; a shorter life leaves room for
    // that even where the periods are as short as the longest life.
    water_drop drop;
    drop.life = static_cast<float>(drop_lifetime * (shortest_life + (1 - shortest_life) * draw(seed_, slot, period, 4)));
    drop.start = static_cast<double>(period) * period_ + slot * period_ / slots_ +
                 draw(seed_, slot, period, 0) * (period_ - drop.life);
    drop.x = static_cast<float>(draw(seed_, slot, period, 1) * width_);
    drop.y = static_cast<float>(draw(seed_, slot, period, 2) * height_);
    drop.strength = static_cast<float>(0.6 + 0.4 * draw(seed_, slot, period, 3));
    return drop;
}

void rain_schedule::live_drops(double time, std::vector<water_drop>& out) const
{
    // Only the current period's drop can be alive: the one before retired
    // when this period began.
    for (int slot = 0; slot < slots_; ++slot) {
        const std::int64_t period = period_at(slot, time);
        if (period < 0)
            continue;
        const water_drop drop = drop_of(slot, period);
        if (drop_alive(drop, time))
            out.push_back(drop);
    }
}
