#include "scene/pointer_trail.h"

#include <cmath>

namespace {

// The pointer's drops are small, a click's large.
constexpr float stir_strength = 0.5f;
constexpr float click_strength = 2.5f;

} // namespace

void pointer_trail::add(const water_drop& drop)
{
    drops_[next_] = drop;
    next_ = (next_ + 1) % pointer_drops;
}

void pointer_trail::place(float x, float y)
{
    placed_ = true;
    last_x_ = x;
    last_y_ = y;
}

void pointer_trail::moved(int view_index, float x, float y, double time, float spacing)
{
    if (placed_ && std::hypot(x - last_x_, y - last_y_) < spacing)
        return;
    const bool first = !placed_;
    place(x, y);
    // Where the pointer is first seen it has not moved yet; and a ring is
    // never cut short: with the pool busy the pointer waits.
    if (first || drop_alive(drops_[next_], time))
        return;
    add({view_index, x, y, time, stir_strength});
}

void pointer_trail::clicked(int view_index, float x, float y, double time)
{
    // A click always lands, in the place of the oldest: a small ring
    // vanishing under a splash is not seen.
    place(x, y);
    add({view_index, x, y, time, click_strength});
}

void pointer_trail::live_drops(int view_index, double time, std::vector<water_drop>& out) const
{
    for (const water_drop& drop : drops_)
        if (drop.view_index == view_index && drop_alive(drop, time))
            out.push_back(drop);
}
