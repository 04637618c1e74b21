#include "settings/number_text.h"
#include <cstdio>
#include <cstdlib>
void number_to_text(float value, char* buffer, std::size_t size) { std::snprintf(buffer, size, "%f", double(value)); }
double text_to_number(const char* text) { return std::atof(text); }
