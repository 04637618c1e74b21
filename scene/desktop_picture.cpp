#include "scene/desktop_picture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

std::int64_t right_of(const screen_rect& r) { return std::int64_t{r.x} + std::max(r.width, 0); }
std::int64_t bottom_of(const screen_rect& r) { return std::int64_t{r.y} + std::max(r.height, 0); }

} // namespace

desktop_picture blank_picture(int width, int height)
{
    desktop_picture picture;
    if (width <= 0 || height <= 0)
        return picture;
    picture.width = width;
    picture.height = height;
    picture.stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    picture.rows.assign(picture.stride * static_cast<std::size_t>(height), 0);
    return picture;
}

void paste_picture(desktop_picture& to, const screen_rect& to_area, const desktop_picture& from,
                   const screen_rect& from_area)
{
    // The pictures' own sizes bound what is read and written, whatever the
    // areas claim.
    const screen_rect to_rect{to_area.x, to_area.y, std::min(to_area.width, to.width), std::min(to_area.height, to.height)};
    const screen_rect from_rect{from_area.x, from_area.y, std::min(from_area.width, from.width), std::min(from_area.height, from.height)};
    const std::int64_t left = std::max(to_rect.x, from_rect.x);
    const std::int64_t top = std::max(to_rect.y, from_rect.y);
    const std::int64_t right = std::min(right_of(to_rect), right_of(from_rect));
    const std::int64_t bottom = std::min(bottom_of(to_rect), bottom_of(from_rect));
    if (right <= left || bottom <= top || to.rows.empty() || from.rows.empty())
        return;
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    for (std::int64_t y = top; y < bottom; ++y) {
        // Rows are stored bottom-up.
        const std::size_t to_row = static_cast<std::size_t>(to.height - 1 - (y - to_rect.y));
        const std::size_t from_row = static_cast<std::size_t>(from.height - 1 - (y - from_rect.y));
        std::memcpy(&to.rows[to_row * to.stride + static_cast<std::size_t>(left - to_rect.x) * 3],
                    &from.rows[from_row * from.stride + static_cast<std::size_t>(left - from_rect.x) * 3], bytes);
    }
}

std::vector<screen_rect> uncovered_parts(const screen_rect& screen, const screen_rect& covered)
{
    const std::int64_t left = std::clamp<std::int64_t>(covered.x, screen.x, right_of(screen));
    const std::int64_t right = std::clamp<std::int64_t>(right_of(covered), left, right_of(screen));
    const std::int64_t top = std::clamp<std::int64_t>(covered.y, screen.y, bottom_of(screen));
    const std::int64_t bottom = std::clamp<std::int64_t>(bottom_of(covered), top, bottom_of(screen));
    const auto rect = [](std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        return screen_rect{int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
    };
    std::vector<screen_rect> parts;
    const screen_rect candidates[] = {
        rect(screen.x, screen.y, right_of(screen), top),            // above
        rect(screen.x, bottom, right_of(screen), bottom_of(screen)), // below
        rect(screen.x, top, left, bottom),                           // left
        rect(right, top, right_of(screen), bottom),                  // right
    };
    for (const screen_rect& part : candidates)
        if (part.width > 0 && part.height > 0)
            parts.push_back(part);
    return parts;
}
