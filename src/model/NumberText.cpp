#include "model/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tram {

namespace {

bool isIgnored(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char c, int radix)
{
    if (radix == 8)
        return c >= '0' && c <= '7';
    if (radix == 16)
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    return c >= '0' && c <= '9';
}

double readRadix(const std::string& s, size_t pos, int radix)
{
    double value = 0;
    for (; pos < s.size() && isDigit(s[pos], radix); ++pos) {
        const char c = s[pos];
        const int digit = (c <= '9') ? c - '0' : (c | 0x20) - 'a' + 10;
        value = value * radix + digit;
    }
    return value;
}

// The largest double shows as 1.79769313486232E+308, a little past it. What
// still rounds to that text at 15 digits reads as the largest double, so a
// value shown and read back never turns into an infinity.
bool roundsToLargestDouble(const char* first, const char* last)
{
    long double wide = 0;
    const auto [end, ec] = std::from_chars(first, last, wide);
    (void)end;
    return ec == std::errc() && std::fabs(wide) < 1.797693134862325e308L;
}

template <typename Field>
std::optional<Field> roundedInto(double value)
{
    const double r = RoundHalfEven(value);
    if (!(r >= std::numeric_limits<Field>::min() && r <= std::numeric_limits<Field>::max()))
        return std::nullopt;
    return static_cast<Field>(r);
}

} // namespace

double ReadNumber(const QString& text)
{
    // Only the ASCII characters that can be part of a number matter; anything
    // else ends the number, so it is replaced by a stop mark.
    std::string s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (isIgnored(c))
            continue;
        s.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01');
    }

    if (s.size() >= 2 && s[0] == '&') {
        const char prefix = static_cast<char>(s[1] | 0x20);
        if (prefix == 'h')
            return readRadix(s, 2, 16);
        if (prefix == 'o')
            return readRadix(s, 2, 8);
        return 0;
    }

    size_t pos = 0;
    std::string number;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
        number.push_back(s[pos++]);
    size_t digits = 0;
    // The power of ten of the first significant digit, exponent included: it
    // tells a number too large for a double from one too small.
    long long leadingPower = 0;
    bool significant = false;
    while (pos < s.size() && isDigit(s[pos], 10)) {
        significant = significant || s[pos] != '0';
        leadingPower += significant ? 1 : 0;
        number.push_back(s[pos++]);
        ++digits;
    }
    leadingPower -= 1;
    if (pos < s.size() && s[pos] == '.') {
        number.push_back(s[pos++]);
        while (pos < s.size() && isDigit(s[pos], 10)) {
            significant = significant || s[pos] != '0';
            leadingPower -= significant ? 0 : 1;
            number.push_back(s[pos++]);
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
        std::string exponent = "e";
        size_t p = pos + 1;
        if (p < s.size() && (s[p] == '+' || s[p] == '-'))
            exponent.push_back(s[p++]);
        long long power = 0;
        size_t expDigits = 0;
        while (p < s.size() && isDigit(s[p], 10)) {
            power = std::min(power * 10 + (s[p] - '0'), 1'000'000'000LL);
            exponent.push_back(s[p++]);
            ++expDigits;
        }
        if (expDigits > 0) {
            number += exponent;
            leadingPower += exponent[1] == '-' ? -power : power;
        }
    }

    const char* first = number.data();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(first, number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched: out of range below the
        // smallest double means a first significant digit far right of the point.
        const bool tiny = leadingPower < 0;
        const bool negative = number[0] == '-';
        if (tiny)
            return negative ? -0.0 : 0.0;
        const double largest = roundsToLargestDouble(first, number.data() + number.size())
            ? std::numeric_limits<double>::max()
            : std::numeric_limits<double>::infinity();
        return negative ? -largest : largest;
    }
    return value;
}

double RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction < 0.5)
        return floor;
    if (fraction > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::optional<uint8_t> ToByte(double value)
{
    return roundedInto<uint8_t>(value);
}

std::optional<int16_t> ToInt16(double value)
{
    return roundedInto<int16_t>(value);
}

int16_t ToInt16Saturated(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<int16_t>::min();
    constexpr double highest = std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(std::clamp(RoundHalfEven(value), lowest, highest));
}

QString ShowNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    return QString::number(value, 'G', 15);
}

} // namespace tram
