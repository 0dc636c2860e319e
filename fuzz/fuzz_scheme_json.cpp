// Feeds arbitrary text to the JSON reader behind from-json. A refused text
// leaves the scheme as it was and says why; an accepted one is a scheme the
// scheme file writer writes and the reader reads back to the same scheme, and
// whose JSON reads back to it again.
#include "files/SchemeFile.h"
#include "files/SchemeJson.h"

#include <bit>
#include <cstdlib>

namespace {

// Field by field, positions by their bits: NaN is a position like any other.
bool sameScheme(tram::Scheme a, tram::Scheme b)
{
    for (int i = 0; i <= tram::MaxLights; ++i) {
        if (std::bit_cast<uint64_t>(a.Lights[i].Position) != std::bit_cast<uint64_t>(b.Lights[i].Position))
            return false;
        a.Lights[i].Position = b.Lights[i].Position = 0;
    }
    for (int i = 0; i <= tram::MaxStations; ++i) {
        if (std::bit_cast<uint64_t>(a.Stations[i].Position) != std::bit_cast<uint64_t>(b.Stations[i].Position))
            return false;
        a.Stations[i].Position = b.Stations[i].Position = 0;
    }
    return a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tram::Scheme before;
    before.SegmentCount = 7;
    tram::Scheme scheme = before;
    if (const auto refusal = tram::SchemeFromJson(json, scheme)) {
        if (refusal->isEmpty() || !sameScheme(scheme, before))
            std::abort();
        return 0;
    }

    tram::Scheme fromFile;
    if (tram::ReadSchemeBytes(tram::WriteSchemeBytes(scheme), fromFile) || !sameScheme(fromFile, scheme))
        std::abort();
    tram::Scheme fromJson;
    if (tram::SchemeFromJson(tram::SchemeToJson(fromFile), fromJson) || !sameScheme(fromJson, scheme))
        std::abort();
    return 0;
}
