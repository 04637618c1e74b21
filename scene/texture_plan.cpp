#include "scene/texture_plan.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int smallest_square = 1024;

// The largest power of two not above `limit` (at least 1).
int power_of_two_floor(int limit)
{
    int side = 1;
    while (side <= limit / 2)
        side *= 2;
    return side;
}

} // namespace

texture_size texture_size_for(int width, int height, texture_limits limits)
{
    const int max_size = std::max(limits.max_size, 1);
    if (limits.any_size && width >= 1 && height >= 1 && width <= max_size && height <= max_size)
        return {width, height};

    const int cap = power_of_two_floor(max_size);
    const int longer = std::max({width, height, smallest_square});
    int side = 1;
    while (side < longer && side < cap)
        side *= 2;
    return {side, side};
}

texture_size next_mip_level(texture_size size)
{
    return {std::max(size.width / 2, 1), std::max(size.height / 2, 1)};
}

bool takes_any_texture_size(const char* version, const char* extensions)
{
    // The text starts with "major.minor".
    if (version && std::atoi(version) >= 2)
        return true;
    const std::string_view wanted = "GL_ARB_texture_non_power_of_two";
    std::string_view rest = extensions ? extensions : "";
    // Whole names only: the list is separated by blanks.
    while (!rest.empty()) {
        const std::size_t end = rest.find(' ');
        if (rest.substr(0, end) == wanted)
            return true;
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return false;
}
