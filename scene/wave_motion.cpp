#include "scene/wave_motion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#define QM_WAVES_SSE 1
#endif

namespace {

constexpr double full_turn = 2 * pi;

// The texture coordinates only: the positions never change.
void store_uv(mesh_vertex* out, float u, float v)
{
    out->u = u;
    out->v = v;
}

// A coordinate held to [low, high] where the texture has no edge clamp.
template <bool held>
float hold(float value, float low, float high)
{
    if constexpr (held)
        return std::clamp(value, low, high);
    return value;
}

#ifdef QM_WAVES_SSE
template <bool held>
__m128 hold4(__m128 value, __m128 low, __m128 high)
{
    if constexpr (held)
        return _mm_min_ps(_mm_max_ps(value, low), high);
    return value;
}

// Four (u, v) pairs into four consecutive vertices, leaving x, y alone.
void store_uv4(mesh_vertex* out, __m128 u, __m128 v)
{
    const __m128 low = _mm_unpacklo_ps(u, v);  // u0 v0 u1 v1
    const __m128 high = _mm_unpackhi_ps(u, v); // u2 v2 u3 v3
    _mm_storel_pi(reinterpret_cast<__m64*>(&out[0].u), low);
    _mm_storeh_pi(reinterpret_cast<__m64*>(&out[1].u), low);
    _mm_storel_pi(reinterpret_cast<__m64*>(&out[2].u), high);
    _mm_storeh_pi(reinterpret_cast<__m64*>(&out[3].u), high);
}
#endif

} // namespace

float advance_phase(float phase, float seconds, float speed)
{
    const double step = static_cast<double>(seconds) * speed;
    double next = std::isfinite(phase) ? phase : 0.0;
    // A frame time that is not a number would stick to the phase forever.
    if (std::isfinite(step))
        next += step;
    // Whole turns of the true 2 pi go; the picture does not change since the
    // phase only enters a sine. fmod is exact and needs no loop.
    next = std::fmod(next, full_turn);
    if (next < 0)
        next += full_turn;
    const float stored = static_cast<float>(next);
    // Rounding to a float can reach 2 pi itself (or leave -0).
    return (stored > 0 && stored < full_turn) ? stored : 0.0f;
}

float window_diagonal(int width, int height)
{
    // 64-bit squares: no overflow for any int size.
    const std::int64_t sum = std::int64_t{width} * width + std::int64_t{height} * height;
    return static_cast<float>(std::sqrt(static_cast<double>(sum)));
}

void wave_field::prepare(const std::vector<mesh_vertex>& vertices, int columns, int rows,
                         int width, int height, bool radial, float freq, float amp,
                         float inset_u, float inset_v)
{
    inset_u_ = inset_u;
    inset_v_ = inset_v;
    count_ = vertices.size();
    width_ = width;
    height_ = height;
    freq_ = freq;
    amp_ = amp;

    if (width == 0 || height == 0 || vertices.empty())
        method_ = method::still;
    else if (radial)
        prepare_radial(vertices), method_ = method::radial;
    else if (prepare_linear(vertices, columns, rows))
        method_ = method::linear;
    else
        method_ = method::still; // not a columns x rows grid: nothing is known of it
}

bool wave_field::matches(std::size_t vertex_count, int width, int height) const
{
    return method_ != method::unprepared && vertex_count == count_ && width == width_ &&
           height == height_;
}

void wave_field::prepare_radial(const std::vector<mesh_vertex>& vertices)
{
    const std::size_t n = vertices.size();
    for (auto* table : {&base_u_, &base_v_, &shift_u_, &shift_v_, &sin_a_, &cos_a_})
        table->resize(n);

    const float diagonal = window_diagonal(width_, height_);
    const double centre_x = width_ * 0.5;
    const double centre_y = height_ * 0.5;
    for (std::size_t k = 0; k < n; ++k) {
        const double x = vertices[k].x;
        const double y = vertices[k].y;
        const double dx = x - centre_x;
        const double dy = y - centre_y;
        const double d = std::sqrt(dx * dx + dy * dy);
        const double angle = d / diagonal * freq_ * wave_pi;
        base_u_[k] = static_cast<float>(picture_u(x, width_));
        base_v_[k] = static_cast<float>(picture_v(y, height_));
        // The centre itself has no direction to move in: it stays put.
        shift_u_[k] = d > 0 ? static_cast<float>(dx / d * amp_) : 0.0f;
        shift_v_[k] = d > 0 ? static_cast<float>(dy / d * amp_) : 0.0f;
        sin_a_[k] = static_cast<float>(std::sin(angle));
        cos_a_[k] = static_cast<float>(std::cos(angle));
    }
}

bool wave_field::prepare_linear(const std::vector<mesh_vertex>& vertices, int columns, int rows)
{
    if (columns < 1 || rows < 1 ||
        static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows) != vertices.size())
        return false;
    // The tables hold only for a regular grid: one x per column, one y per row.
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            const mesh_vertex& vertex = vertices[static_cast<std::size_t>(i) * columns + j];
            if (vertex.x != vertices[j].x || vertex.y != vertices[static_cast<std::size_t>(i) * columns].y)
                return false;
        }
    }

    columns_ = columns;
    rows_ = rows;
    column_base_u_.resize(columns);
    column_sin_.resize(columns);
    column_cos_.resize(columns);
    for (int j = 0; j < columns; ++j) {
        const double u = picture_u(vertices[j].x, width_);
        const double angle = u * freq_ * wave_pi;
        column_base_u_[j] = static_cast<float>(u);
        column_sin_[j] = static_cast<float>(amp_ * std::sin(angle));
        column_cos_[j] = static_cast<float>(amp_ * std::cos(angle));
    }
    row_base_v_.resize(rows);
    row_sin_.resize(rows);
    row_cos_.resize(rows);
    for (int i = 0; i < rows; ++i) {
        const double y = vertices[static_cast<std::size_t>(i) * columns].y;
        const double angle = y / height_ * freq_ * wave_pi;
        row_base_v_[i] = picture_v(y, height_);
        row_sin_[i] = amp_ * std::sin(angle);
        row_cos_[i] = amp_ * std::cos(angle);
    }
    return true;
}

void wave_field::apply(std::vector<mesh_vertex>& vertices, float phase) const
{
    if (method_ == method::unprepared || method_ == method::still || vertices.size() != count_ ||
        !std::isfinite(phase))
        return;
    const double cos_phase = std::cos(static_cast<double>(phase));
    const double sin_phase = std::sin(static_cast<double>(phase));
    switch (method_) {
    case method::radial:
        if (inset_u_ > 0 || inset_v_ > 0)
            apply_radial<true>(vertices, static_cast<float>(cos_phase), static_cast<float>(sin_phase));
        else
            apply_radial<false>(vertices, static_cast<float>(cos_phase), static_cast<float>(sin_phase));
        break;
    default:
        if (inset_u_ > 0 || inset_v_ > 0)
            apply_linear<true>(vertices, cos_phase, sin_phase, static_cast<float>(cos_phase),
                               static_cast<float>(sin_phase));
        else
            apply_linear<false>(vertices, cos_phase, sin_phase, static_cast<float>(cos_phase),
                                static_cast<float>(sin_phase));
        break;
    }
}

template <bool held>
void wave_field::apply_radial(std::vector<mesh_vertex>& vertices, float cos_phase,
                              float sin_phase) const
{
    const float low_u = inset_u_, high_u = 1 - inset_u_, low_v = inset_v_, high_v = 1 - inset_v_;
    const std::size_t n = vertices.size();
    mesh_vertex* out = vertices.data();
    const float* base_u = base_u_.data();
    const float* base_v = base_v_.data();
    const float* shift_u = shift_u_.data();
    const float* shift_v = shift_v_.data();
    const float* sin_a = sin_a_.data();
    const float* cos_a = cos_a_.data();
    std::size_t k = 0;
#ifdef QM_WAVES_SSE
    const __m128 cp = _mm_set1_ps(cos_phase);
    const __m128 sp = _mm_set1_ps(sin_phase);
    const __m128 low_u4 = _mm_set1_ps(low_u), high_u4 = _mm_set1_ps(high_u);
    const __m128 low_v4 = _mm_set1_ps(low_v), high_v4 = _mm_set1_ps(high_v);
    for (; k + 4 <= n; k += 4) {
        const __m128 s = _mm_add_ps(_mm_mul_ps(_mm_loadu_ps(sin_a + k), cp),
                                    _mm_mul_ps(_mm_loadu_ps(cos_a + k), sp));
        const __m128 u = _mm_add_ps(_mm_loadu_ps(base_u + k), _mm_mul_ps(_mm_loadu_ps(shift_u + k), s));
        const __m128 v = _mm_add_ps(_mm_loadu_ps(base_v + k), _mm_mul_ps(_mm_loadu_ps(shift_v + k), s));
        store_uv4(out + k, hold4<held>(u, low_u4, high_u4), hold4<held>(v, low_v4, high_v4));
    }
#endif
    for (; k < n; ++k) {
        const float s = sin_a[k] * cos_phase + cos_a[k] * sin_phase;
        store_uv(out + k, hold<held>(base_u[k] + shift_u[k] * s, low_u, high_u),
                 hold<held>(base_v[k] + shift_v[k] * s, low_v, high_v));
    }
}

template <bool held>
void wave_field::apply_linear(std::vector<mesh_vertex>& vertices, double cos_phase,
                              double sin_phase, float cos_phase_f, float sin_phase_f) const
{
    const float low_u = inset_u_, high_u = 1 - inset_u_, low_v = inset_v_, high_v = 1 - inset_v_;
    const std::size_t columns = static_cast<std::size_t>(columns_);
    const float* base_u = column_base_u_.data();
    const float* column_sin = column_sin_.data();
    const float* column_cos = column_cos_.data();
    for (int i = 0; i < rows_; ++i) {
        mesh_vertex* out = vertices.data() + static_cast<std::size_t>(i) * columns;
        // amp * sin(row angle + phase): one value for the whole row.
        const float shift_u = static_cast<float>(row_sin_[i] * cos_phase + row_cos_[i] * sin_phase);
        const float base_v = static_cast<float>(row_base_v_[i]);
        std::size_t j = 0;
#ifdef QM_WAVES_SSE
        const __m128 su = _mm_set1_ps(shift_u);
        const __m128 bv = _mm_set1_ps(base_v);
        const __m128 cp = _mm_set1_ps(cos_phase_f);
        const __m128 sp = _mm_set1_ps(sin_phase_f);
        const __m128 low_u4 = _mm_set1_ps(low_u), high_u4 = _mm_set1_ps(high_u);
        const __m128 low_v4 = _mm_set1_ps(low_v), high_v4 = _mm_set1_ps(high_v);
        for (; j + 4 <= columns; j += 4) {
            const __m128 u = _mm_add_ps(_mm_loadu_ps(base_u + j), su);
            const __m128 shift_v = _mm_add_ps(_mm_mul_ps(_mm_loadu_ps(column_sin + j), cp),
                                              _mm_mul_ps(_mm_loadu_ps(column_cos + j), sp));
            store_uv4(out + j, hold4<held>(u, low_u4, high_u4), hold4<held>(_mm_add_ps(bv, shift_v), low_v4, high_v4));
        }
#endif
        for (; j < columns; ++j) {
            const float shift_v = column_sin[j] * cos_phase_f + column_cos[j] * sin_phase_f;
            store_uv(out + j, hold<held>(base_u[j] + shift_u, low_u, high_u),
                     hold<held>(base_v + shift_v, low_v, high_v));
        }
    }
}
