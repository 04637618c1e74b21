#pragma once
#include "scene/mesh_vertex.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Drops on the water: rings that spread from where a drop fell. Everything
// is a closed-form function of the time, so a frame at time t is the same
// however t was reached.

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
    int view = 0; // the view it fell on
    float x = 0, y = 0;
    double start = 0;
    float strength = 0;
    float life = static_cast<float>(drop_lifetime); // seconds, at most drop_lifetime
};

// The drops' clock, in whole milliseconds of the frames' summed whole
// microseconds, so a moment is the same however many frames led to it.
class rain_clock {
public:
    void advance(float seconds);
    double seconds() const { return microseconds_ / 1000 / 1000.0; }

private:
    std::int64_t microseconds_ = 0;
};

// The rings' shape for one view, scaled with its diagonal like the waves.
struct drop_shape {
    float speed = 0;      // of the front, pixels per second
    float wavelength = 0; // pixels
    float train = 0;      // length of the ring train behind the front, pixels
    float spread = 0;     // the radius where the spreading has halved the square of the height
    float height = 0;     // offset of a strength-1 drop at its fall, pixels
    float half_texel = 0; // in view pixels: moving less than this is not seen
    float decay = 0;      // seconds; derived so that the height reaches half a texel at retirement
};

// The shape for a view of `diagonal` pixels whose texture has `half_texel`
// view pixels per half texel.
drop_shape make_drop_shape(float diagonal, float half_texel);

// The height of a drop `age` seconds after its fall, for strength 1: the
// exponential decay less its value at retirement, so it reaches exactly 0
// at the end of its `life` with no step. A shorter life runs the same
// curve faster. 0 outside [0, life].
float drop_envelope(const drop_shape& shape, double age, double life = drop_lifetime);

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

// The pointer's own drops: one for each short distance moved, into a ring of
// pointer_drops that reuses the oldest.
class pointer_trail {
public:
    // `spacing`: pixels to move before the next drop.
    void moved(int view, float x, float y, double time, float spacing);
    // A click: one large drop at the pointer.
    void clicked(int view, float x, float y, double time);
    // The pointer's drops on `view` alive at `time`, appended to `out`.
    void live_drops(int view, double time, std::vector<water_drop>& out) const;
    void forget() { *this = pointer_trail{}; }

private:
    void add(const water_drop& drop);
    void place(float x, float y);

    water_drop drops_[pointer_drops];
    int next_ = 0;
    bool placed_ = false; // the last drop's place is known
    float last_x_ = 0, last_y_ = 0;
};

// Adds every drop's rings to u and v of a regular columns x rows grid over
// a width x height view; vertices outside a ring's reach are skipped. A
// ring bends the picture as a round bump of water does: what shows through
// it moves along the slope, by (ox, oy) pixels (y down) the same way across
// as down. With `slopes`, (ox, oy) times slope_gain is added to the
// vertex's slope there too, so the light agrees with the bend.
void add_drop_rings(std::vector<mesh_vertex>& vertices, int columns, int rows, int width, int height,
                    const drop_shape& shape, const std::vector<water_drop>& drops, double time,
                    float* slope_x = nullptr, float* slope_y = nullptr, float slope_gain = 0);
