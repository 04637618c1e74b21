// The five settings: names, the defaults laid down at start-up, and the
// range-guarded read the scene uses.
#pragma once

class reg_settings;

constexpr char setting_quality[] = "quality";
constexpr char setting_speed[] = "speed";
constexpr char setting_freq[] = "freq";
constexpr char setting_amp[] = "amp";
constexpr char setting_radial[] = "radial";
constexpr char setting_light[] = "light";
constexpr char setting_rain[] = "rain";

// Writes every missing (or unreadable) setting with its default.
void ensure_defaults();
void ensure_defaults(reg_settings& store);

// The stored value when it lies in 0..100, otherwise default_value.
double get_percent(const char* name, float default_value);
double get_percent(reg_settings& store, const char* name, float default_value);
