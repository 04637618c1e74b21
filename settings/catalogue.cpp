#include "settings/catalogue.h"
#include "settings/reg_settings.h"
void ensure_defaults() {}
void ensure_defaults(reg_settings&) {}
double get_percent(const char*, float d) { return d; }
double get_percent(reg_settings&, const char*, float d) { return d; }
