// Numbers as the registry stores them: decimal text.
#pragma once
#include <cstddef>

// Size of every text buffer the settings use.
constexpr std::size_t number_text_size = 1024;

// "%i" when the value is integral and fits a signed 32-bit int, otherwise
// "%f" (six decimals). Writes at most size - 1 characters and a terminator.
void number_to_text(float value, char* buffer, std::size_t size);

// As atof: leading white space skipped, the longest leading number
// converted, 0 when there is none.
double text_to_number(const char* text);
