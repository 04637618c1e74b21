#pragma once
#include "scene/water_drops.h"

#include <vector>

// The pointer's own drops: one for each short distance moved, into a ring of
// pointer_drops that reuses the oldest.
class pointer_trail {
public:
    // `spacing`: pixels to move before the next drop.
    void moved(int view_index, float x, float y, double time, float spacing);
    // A click: one large drop at the pointer.
    void clicked(int view_index, float x, float y, double time);
    // The pointer's drops on the view `view_index` alive at `time`, appended
    // to `out`.
    void live_drops(int view_index, double time, std::vector<water_drop>& out) const;
    void forget() { *this = pointer_trail{}; }

private:
    void add(const water_drop& drop);
    void place(float x, float y);

    water_drop drops_[pointer_drops];
    int next_ = 0;
    bool placed_ = false; // the last drop's place is known
    float last_x_ = 0, last_y_ = 0;
};
