#include "editing/ViewCommands.h"

#include "editing/RefusalTexts.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tram {

namespace {

Refusal doesNotFit(const QString& caption)
{
    return DoesNotFit(BoxCaptioned(caption), RangeOf<int16_t>());
}

} // namespace

std::optional<Refusal> ApplySizes(const SizeTexts& texts, DisplaySettings& display)
{
    const std::optional<int16_t> width = ToInt16(ReadNumber(texts.drawWidth));
    if (!width)
        return doesNotFit(QStringLiteral("Debljina linije:"));
    const std::optional<int16_t> circleSize = ToInt16(ReadNumber(texts.circleSize));
    if (!circleSize)
        return doesNotFit(QStringLiteral("Velicina kruga:"));

    // The canvas has no pen narrower than one pixel.
    if (*width >= 1)
        display.DrawWidth = *width;
    display.CircleSize = *circleSize;
    return std::nullopt;
}

std::optional<double> RescaleCoefficient(const QString& text)
{
    const double coefficient = ReadNumber(text);
    if (!(coefficient > 0))
        return std::nullopt;
    return coefficient;
}

std::optional<Refusal> RescaleHorizontally(double coefficient, Scheme& scheme)
{
    if (!std::isfinite(coefficient))
        return QStringLiteral("Vrijednost u polju \"Koeficijent:\" je prevelika. Nista nije promijenjeno.");

    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        for (int j = 1; j <= PointsInUse(scheme, s); ++j) {
            const double x = scheme.Points[s][j].X * coefficient;
            if (!ToInt16(x))
                return QStringLiteral("Koeficijent u polju \"Koeficijent:\" je prevelik: tacka %1 "
                                      "segmenta %2 dobila bi X %3, a X mora biti %4. Nista nije promijenjeno.")
                    .arg(j)
                    .arg(s)
                    .arg(ShowNumber(RoundHalfEven(x)), RangeOf<int16_t>());
        }
    }
    for (int s = 1; s <= SegmentsInUse(scheme); ++s) {
        for (int j = 1; j <= PointsInUse(scheme, s); ++j) {
            MapPoint& p = scheme.Points[s][j];
            p.X = *ToInt16(p.X * coefficient);
        }
    }
    return std::nullopt;
}

RulerTexts PanTo(int scrollValue, ScrollState& scroll)
{
    using Offset = decltype(ScrollState::ScrollOffset);
    scroll.ScrollOffset = static_cast<Offset>(
        std::clamp<int>(scrollValue, std::numeric_limits<Offset>::min(), std::numeric_limits<Offset>::max()));
    const double offset = scroll.ScrollOffset;
    return {ShowNumber(offset), ShowNumber(offset + 500), ShowNumber(offset + 1000)};
}

} // namespace tram
