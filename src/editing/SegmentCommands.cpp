#include "editing/SegmentCommands.h"

#include "editing/RefusalTexts.h"
#include "editing/Stepping.h"
#include "model/NumberText.h"

namespace tram {

namespace {

constexpr double GeneratorRange = 4294967296.0; // 2^32: mt19937 yields 32-bit values

int16_t nextCoordinate(SegmentCoordinateGenerator& generator)
{
    return static_cast<int16_t>(
        RoundHalfEven(generator.nextUniform() * (NewVertexHighest - NewVertexLowest) + NewVertexLowest));
}

} // namespace

double SegmentCoordinateGenerator::nextUniform()
{
    return static_cast<double>(engine_()) / GeneratorRange;
}

std::optional<Refusal> NewSegment(Scheme& scheme, EditState& edit, SegmentCoordinateGenerator& generator)
{
    if (scheme.SegmentCount < 0 || scheme.SegmentCount >= MaxSegments)
        return TableFull(QStringLiteral("Novi segment nije dodan"), MaxSegments, QStringLiteral("segmenata"));

    const int n = ++scheme.SegmentCount;
    scheme.PointCount[n] = 2;
    auto& points = scheme.Points[n];
    points[1].X = nextCoordinate(generator);
    points[1].Y = nextCoordinate(generator);
    points[2].X = nextCoordinate(generator);
    points[2].Y = nextCoordinate(generator);
    edit.CurrentSegment = static_cast<uint8_t>(n);
    return std::nullopt;
}

bool PreviousSegment(EditState& edit)
{
    return StepToPrevious(edit.CurrentSegment);
}

bool NextSegment(const Scheme& scheme, EditState& edit)
{
    return StepToNext(edit.CurrentSegment, SegmentsInUse(scheme));
}

} // namespace tram
