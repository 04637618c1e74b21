#include "settings/reg_settings.h"
reg_settings::reg_settings(const char*) {}
reg_settings::reg_settings(const char*, std::initializer_list<HKEY>) {}
reg_settings::~reg_settings() {}
const char* reg_settings::get_string(const char*, const char* d) { return d; }
void reg_settings::set_string(const char*, const char*) {}
double reg_settings::get_number(const char*, float d) { return d; }
void reg_settings::set_number(const char*, float) {}
