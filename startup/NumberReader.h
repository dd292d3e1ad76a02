#pragma once
// Reading numbers out of texts: the command line's window id and stored
// settings values.

#include <cstdint>
#include <optional>
#include <string_view>

/** Reads the number at the start of text: leading blanks skipped, optional
 *  sign, digits, fraction and exponent; stops at the first character that
 *  cannot belong to it. No number gives 0; a number too large gives +-inf. */
double rtcR8ValFromBstr(std::string_view text);

/** The whole text (blanks around it allowed) as a number, or nothing. */
std::optional<double> wholeNumber(std::string_view text);

/** Rounds to the nearest integer, halves to even; 0 when it does not fit 32 bits. */
std::int32_t toInt32OrZero(double value);
