#include "settings/catalogue.h"

#include "settings/reg_settings.h"

namespace {

// The texts a fresh installation gets, written in this order. "speed" and
// "amp" start lower than the 50 that later readers fall back to.
struct setting_default {
    const char* name;
    float value;
};

constexpr setting_default start_defaults[] = {
    {setting_quality, 50},
    {setting_speed, 0},
    {setting_freq, 50},
    {setting_amp, 25},
    {setting_radial, 1},
    {setting_light, 0},
    {setting_rain, 0},
};

} // namespace

void ensure_defaults(reg_settings& store)
{
    // A read writes its default when the value is missing or unreadable;
    // the value itself is not needed here.
    for (const setting_default& setting : start_defaults)
        store.get_number(setting.name, setting.value);
}

void ensure_defaults()
{
    ensure_defaults(app_settings);
}

double get_percent(reg_settings& store, const char* name, float default_value)
{
    double value = store.get_number(name, default_value);
    // NaN fails both comparisons and falls back like any other outsider.
    if (value >= 0 && value <= 100)
        return value;
    return default_value;
}

double get_percent(const char* name, float default_value)
{
    return get_percent(app_settings, name, default_value);
}

bool get_flag(reg_settings& store, const char* name, bool default_value)
{
    double value = store.get_number(name, default_value ? 1 : 0);
    if (value >= 0 && value <= 1)
        return value != 0;
    return default_value;
}

bool get_flag(const char* name, bool default_value)
{
    return get_flag(app_settings, name, default_value);
}
