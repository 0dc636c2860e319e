// Feeds arbitrary bytes to the scheme reader. Besides crashes and undefined
// behaviour it checks the reader's promises: a refused input leaves the
// scheme exactly as it was, and an accepted one writes back to the bytes it
// was read from (up to the ignored tail).
#include "files/SchemeFile.h"

#include <cstdlib>
#include <cstring>

namespace {

// Non-zero everywhere, so a stray write anywhere shows; element 0 included.
tram::Scheme& startingScheme()
{
    static tram::Scheme scheme = [] {
        tram::Scheme s;
        std::memset(static_cast<void*>(&s), 0x5A, sizeof s);
        for (auto& station : s.Stations)
            station.Name.fill(u'x');
        for (auto& light : s.Lights)
            light.Position = 1.5;
        for (auto& station : s.Stations)
            station.Position = 2.5;
        return s;
    }();
    return scheme;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const tram::Scheme& before = startingScheme();
    tram::Scheme scheme = before;
    if (const auto refusal = tram::ReadSchemeBytes(bytes, scheme)) {
        if (refusal->isEmpty() || !(scheme == before))
            std::abort();
        return 0;
    }
    // Every name byte survives the code page, so the bytes come back exactly.
    const QByteArray written = tram::WriteSchemeBytes(scheme);
    if (written != bytes.left(written.size()))
        std::abort();
    return 0;
}
