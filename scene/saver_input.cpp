// The pointer on the water: a move stirs the view it is over, a left click
// drops a large ring there.
#include "scene/water_saver.h"

#include "shell/shell.h"

namespace {

// The pointer drops a ring for every 3 % of the monitor's diagonal it moves.
constexpr float stir_spacing = 0.03f;

} // namespace

bool water_saver::pointer_stirs() const
{
    // Everywhere but in a small window (the preview, whose mouse belongs to
    // the host, and the dialog's pane).
    return !target.shown_small;
}

void water_saver::input(input_action action, int code, int x, int y)
{
    if (!(rain > 0) || !pointer_stirs())
        return;
    for (std::size_t k = 0; k < views_.size(); ++k) {
        const screen_rect& area = views_[k].area;
        if (x < area.x || y < area.y || x >= area.x + area.width || y >= area.y + area.height)
            continue;
        const float view_x = static_cast<float>(x - area.x), view_y = static_cast<float>(y - area.y);
        const int view_index = static_cast<int>(k);
        if (action == input_move)
            pointer.moved(view_index, view_x, view_y, drop_time(), stir_spacing * window_diagonal(area.width, area.height));
        else if (action == input_press && code == 0)
            pointer.clicked(view_index, view_x, view_y, drop_time());
        return;
    }
}
