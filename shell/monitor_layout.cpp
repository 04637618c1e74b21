#include "shell/monitor_layout.h"

#include <algorithm>
#include <cstdint>

namespace {

// Right or bottom edge without int overflow.
std::int64_t far_edge(int start, int extent)
{
    return std::int64_t{start} + std::max(extent, 0);
}

} // namespace

std::vector<screen_rect> monitor_views(const std::vector<screen_rect>& monitors,
                                       const screen_rect& window)
{
    std::vector<screen_rect> views;
    for (const screen_rect& monitor : monitors) {
        const std::int64_t left = std::max(monitor.x, window.x);
        const std::int64_t top = std::max(monitor.y, window.y);
        const std::int64_t right = std::min(far_edge(monitor.x, monitor.width), far_edge(window.x, window.width));
        const std::int64_t bottom = std::min(far_edge(monitor.y, monitor.height), far_edge(window.y, window.height));
        if (right <= left || bottom <= top)
            continue;
        const screen_rect view{static_cast<int>(left - window.x), static_cast<int>(top - window.y),
                               static_cast<int>(right - left), static_cast<int>(bottom - top)};
        if (std::find(views.begin(), views.end(), view) == views.end())
            views.push_back(view);
    }
    return views;
}
