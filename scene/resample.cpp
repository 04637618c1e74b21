#include "scene/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The source pixels one destination pixel reads, and their weights.
struct taps {
    std::vector<int> first;      // per destination pixel
    std::vector<int> count;
    std::vector<float> weights;  // `count` weights per destination pixel, packed
    std::vector<int> offset;
};

taps tent_taps(int source, int destination)
{
    taps result;
    const double scale = static_cast<double>(source) / destination;
    const double radius = std::max(scale, 1.0);
    for (int i = 0; i < destination; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const int low = static_cast<int>(std::ceil(centre - radius + 1e-9));
        const int high = static_cast<int>(std::floor(centre + radius - 1e-9));
        result.first.push_back(low);
        result.offset.push_back(static_cast<int>(result.weights.size()));
        double sum = 0;
        for (int k = low; k <= high; ++k)
            sum += std::max(0.0, 1 - std::abs(k - centre) / radius);
        for (int k = low; k <= high; ++k)
            result.weights.push_back(static_cast<float>(std::max(0.0, 1 - std::abs(k - centre) / radius) / sum));
        result.count.push_back(high - low + 1);
    }
    return result;
}

// Taps beyond the picture read its edge pixel.
int clamp_index(int index, int size)
{
    return std::min(std::max(index, 0), size - 1);
}

} // namespace

void resample_rgb(const const_pixel_rows& from, const pixel_rows& to)
{
    if (from.width < 1 || from.height < 1 || to.width < 1 || to.height < 1)
        return;
    const taps across = tent_taps(from.width, to.width);
    const taps down = tent_taps(from.height, to.height);

    // One destination row at a time: its source rows blended into one float
    // row, which is then scaled across. Memory stays at one row.
    const std::size_t source_values = static_cast<std::size_t>(from.width) * 3;
    std::vector<float> blended(source_values);
    for (int y = 0; y < to.height; ++y) {
        std::fill(blended.begin(), blended.end(), 0.0f);
        for (int t = 0; t < down.count[y]; ++t) {
            const float w = down.weights[down.offset[y] + t];
            const std::uint8_t* in = from.data + from.stride * static_cast<std::size_t>(clamp_index(down.first[y] + t, from.height));
            for (std::size_t v = 0; v < source_values; ++v)
                blended[v] += w * in[v];
        }
        std::uint8_t* out = to.data + to.stride * static_cast<std::size_t>(y);
        for (int x = 0; x < to.width; ++x) {
            float sum[3] = {0, 0, 0};
            for (int t = 0; t < across.count[x]; ++t) {
                const float w = across.weights[across.offset[x] + t];
                const float* pixel = blended.data() + 3 * clamp_index(across.first[x] + t, from.width);
                for (int c = 0; c < 3; ++c)
                    sum[c] += w * pixel[c];
            }
            for (int c = 0; c < 3; ++c)
                out[3 * x + c] = static_cast<std::uint8_t>(std::min(std::max(std::lround(sum[c]), 0L), 255L));
        }
    }
}
