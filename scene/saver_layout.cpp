// The views: one per monitor in a full-screen window, else the whole client
// area; each one's grid, inset and half texel for its size, and its share
// of the drops.
#include "scene/water_saver.h"

#include "scene/mesh.h"
#include "shell/monitors.h"

#include <algorithm>

void water_saver::plan_views()
{
    views_.clear();
    // A full-screen window covers the virtual screen, as the picture does, so
    // each monitor shows the part of the picture at its own place.
    for (const screen_rect& monitor : target.monitors) {
        scene_view view;
        view.area = monitor;
        view.source = monitor;
        views_.push_back(std::move(view));
    }
    if (views_.empty()) {
        scene_view whole;
        whole.area = {0, 0, target.width, target.height};
        whole.source = {0, 0, picture.width, picture.height};
        whole.follows_window = true;
        views_.push_back(std::move(whole));
    }
}

void water_saver::build_mesh(int columns, int rows)
{
    for (scene_view& view : views_)
        lay_out(view, view.area, columns, rows);
}

void water_saver::lay_out(scene_view& view, const screen_rect& area, int columns, int rows)
{
    view.area = area;
    build_grid(view.vertices, indices, columns, rows, area.width, area.height);
    // The old per-frame data described other positions.
    view.field = wave_field{};
    view.surface = water_surface{};
    // Shown at another size, the texture draws from other levels.
    plan_inset(view.plan, area.width, area.height);
    if (view.plan.size.width > 0 && view.plan.size.height > 0)
        view.half_texel_pixels = 0.5f * std::min(static_cast<float>(area.width) / view.plan.size.width,
                                                 static_cast<float>(area.height) / view.plan.size.height);
}

void water_saver::prepare_surface(scene_view& view, int index)
{
    // The pool's drops go to the rain, less the pointer's share, split
    // between the views.
    const int count = static_cast<int>(views_.size());
    const int slots = max_live_drops - (pointer_stirs() ? pointer_drops : 0);
    const int share = slots / count + (index < slots % count ? 1 : 0);
    view.surface.prepare(view.vertices, columns, rows, view.area.width, view.area.height, view.half_texel_pixels,
                         light_way(), rain, share, rain_seed + static_cast<std::uint32_t>(index) * 7919u);
}
