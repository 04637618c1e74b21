#include "settings/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// The float range that truncates into a signed 32-bit int. Testing it
// before the cast keeps NaN, infinities and huge values away from a
// conversion whose result C++ leaves undefined.
constexpr float int_low = -2147483648.0f; // -2^31, exact as a float
constexpr float int_end = 2147483648.0f;  //  2^31, the first value too high

bool truncates_to_int(float value)
{
    return std::isfinite(value) && value >= int_low && value < int_end;
}

} // namespace

void number_to_text(float value, char* buffer, std::size_t size)
{
    if (size == 0)
        return;
    if (truncates_to_int(value)) {
        int whole = static_cast<int>(value);
        if (static_cast<float>(whole) == value) {
            std::snprintf(buffer, size, "%i", whole);
            return;
        }
    }
    std::snprintf(buffer, size, "%f", static_cast<double>(value));
}

double text_to_number(const char* text)
{
    // strtod is atof with its overflow defined (HUGE_VAL, not undefined).
    return std::strtod(text, nullptr);
}
