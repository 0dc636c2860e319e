#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace tram {

// Reads a number the way every text box of the editor does: the longest leading
// number, blanks, tabs and line feeds anywhere ignored, "." as the only decimal
// point, optional sign and exponent, &H and &O radix prefixes. Text that does
// not start with a number gives 0. Overflowing text gives an infinity, which
// every integer field then refuses; only text that shows the largest double
// to 15 digits (1.79769313486232E+308) gives that double.
double ReadNumber(const QString& text);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double value);

// Rounded into a field, or nothing when the rounded value does not fit.
std::optional<uint8_t> ToByte(double value);
std::optional<int16_t> ToInt16(double value);

// Rounded and clamped into a coordinate; NaN gives 0. For computed points only,
// where there is nothing to refuse.
int16_t ToInt16Saturated(double value);

// General decimal text: up to 15 significant digits, "." whatever the locale,
// no thousands separator, no decimal point for whole values (0.25, 3, 1E+20).
QString ShowNumber(double value);

} // namespace tram
