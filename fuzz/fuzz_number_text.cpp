// Feeds arbitrary text to the number rules of every text box. Reading never
// misbehaves and never gives NaN (no text spells one), and every finite value,
// the one read as well as the double in the input's first eight bytes, shows
// as text that reads back to the same value to 15 significant digits.
#include "model/NumberText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// The integer fields and the computed coordinates take any double.
void roundIntoFields(double value)
{
    if (const auto byte = tram::ToByte(value); byte && double(*byte) != tram::RoundHalfEven(value))
        std::abort();
    if (const auto integer = tram::ToInt16(value); integer && double(*integer) != tram::RoundHalfEven(value))
        std::abort();
    (void)tram::ToInt16Saturated(value);
}

// The text read back shows as the same text, and lies within half a unit of
// the 15th significant digit (and the rounding of the read) of the value.
void checkShowThenRead(double value)
{
    if (!std::isfinite(value))
        return;
    const QString shown = tram::ShowNumber(value);
    const double back = tram::ReadNumber(shown);
    if (tram::ShowNumber(back) != shown)
        std::abort();
    if (value != 0) {
        const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(value))) - 14);
        if (std::fabs(back - value) > 0.5 * unit + std::fabs(value) * std::numeric_limits<double>::epsilon())
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const double read = tram::ReadNumber(text);
    if (std::isnan(read))
        std::abort();
    roundIntoFields(read);
    checkShowThenRead(read);

    double value;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        roundIntoFields(value);
        checkShowThenRead(value);
    }
    return 0;
}
