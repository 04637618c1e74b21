// The seven settings: names, the defaults laid down at start-up, and the
// range-guarded reads the scene and the dialog use.
#pragma once

class reg_settings;

constexpr char setting_quality[] = "quality";
constexpr char setting_speed[] = "speed";
constexpr char setting_freq[] = "freq";
constexpr char setting_amp[] = "amp";
constexpr char setting_radial[] = "radial";
constexpr char setting_light[] = "light"; // 0 or 1: light on the water
constexpr char setting_rain[] = "rain";   // 0..100, 0: no drops

// Writes every missing (or unreadable) setting with its default.
void ensure_defaults();
void ensure_defaults(reg_settings& store);

// The stored value when it lies in 0..100, otherwise default_value.
double get_percent(const char* name, float default_value);
double get_percent(reg_settings& store, const char* name, float default_value);

// The stored value as a switch: off for 0, on for any other value in 0..1,
// otherwise (negative, above 1, NaN) default_value. With on as the default
// this is "on unless 0".
bool get_flag(const char* name, bool default_value);
bool get_flag(reg_settings& store, const char* name, bool default_value);
