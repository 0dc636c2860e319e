#include "view/BandRaster.h"

#include "view/BandSweep.h"

#include <algorithm>
#include <numeric>

namespace tram {

using namespace bands;

namespace {

// Where a pass-2 sweep covers the canvas this many times over, most pixels
// are settled by it and the wider passes are swept only where one is open.
// Measured on random walks of growing steps: below about three covers the
// second sweep costs more than it saves.
constexpr double DenseCover = 3;

void makeDiscPattern(BandScene& scene)
{
    DiscPattern& d = scene.disc;
    d.reach = scene.shaded / 2 + 1;
    d.side = 2 * d.reach + 1;
    d.stride = (d.side + 7) / 8 * 8;
    d.keys.assign(size_t(d.side * d.stride), NoKey);
    std::vector<int> passes(size_t(d.side * d.side), 0);
    for (int dy = -d.reach; dy <= d.reach; ++dy) {
        for (int dx = -d.reach; dx <= d.reach; ++dx) {
            const double ex = dx + SampleOffset;
            const double ey = dy + SampleOffset;
            const int k = NarrowestPass(2 * std::sqrt(ex * ex + ey * ey));
            passes[size_t(dy + d.reach) * size_t(d.side) + size_t(dx + d.reach)] = k;
            if (k <= scene.shaded)
                d.keys[size_t(dy + d.reach) * size_t(d.stride) + size_t(dx + d.reach)] = PassKey(k);
        }
    }
    for (int widest : scene.rounds) {
        std::vector<int> first(size_t(d.side), 0);
        std::vector<int> last(size_t(d.side), -1);
        for (int row = 0; row < d.side; ++row) {
            for (int dx = -d.reach; dx <= d.reach; ++dx) {
                if (passes[size_t(row * d.side + dx + d.reach)] > widest)
                    continue;
                if (first[size_t(row)] > last[size_t(row)])
                    first[size_t(row)] = dx;
                last[size_t(row)] = dx;
            }
        }
        d.first.push_back(std::move(first));
        d.last.push_back(std::move(last));
    }
}

} // namespace

BandRaster::BandRaster(const std::vector<BandPiece>& pieces, const BandKinds& kinds, int width)
    : scene_(std::make_unique<BandScene>())
{
    BandScene& s = *scene_;
    s.widest = width;
    s.shaded = std::min(width, WidestShadedPass);
    if (s.shaded < 2)
        return;
    // Neighbouring pieces of a segment share their end disc: one is enough.
    auto addDisc = [&s](const Disc& disc) {
        if (s.discs.empty() || !(s.discs.back() == disc))
            s.discs.push_back(disc);
    };
    double narrowCover = 0;
    s.frames.reserve(pieces.size());
    s.discsBefore.reserve(pieces.size());
    for (const BandPiece& piece : pieces) {
        addDisc(Disc{piece.a, piece.segment});
        if (piece.a == piece.b)
            continue; // the canvas draws a line of zero length as a dot as wide as the pen
        s.frames.push_back(Frame::of(piece.a, piece.b, piece.segment));
        s.discsBefore.push_back(s.discs.size());
        narrowCover += 2 * s.frames.back().length;
        addDisc(Disc{piece.b, piece.segment});
    }
    if (narrowCover > DenseCover * Canvas::Width * Canvas::Height && s.shaded > 2)
        s.rounds = {2, s.shaded};
    else
        s.rounds = {s.shaded};
    if (s.frames.empty() && s.discs.empty())
        return;
    if (s.widest > s.shaded) {
        s.middleFirst.resize(s.frames.size());
        std::iota(s.middleFirst.begin(), s.middleFirst.end(), 0u);
        const auto offMiddle = [&s](uint32_t i) { return std::abs(s.frames[i].ax + s.frames[i].bx - Canvas::Width); };
        std::stable_sort(s.middleFirst.begin(), s.middleFirst.end(),
                         [&](uint32_t a, uint32_t b) { return offMiddle(a) < offMiddle(b); });
    }
    // Every row's entries are set before they are read.
    tables_ = std::make_unique_for_overwrite<BandRowTables>();
    makeDiscPattern(s);
    s.colours.fill(Black);
    for (int k = 2; k <= WidestShadedPass; ++k) {
        for (int segment = 0; segment <= MaxSegments; ++segment)
            s.colours[KeyOf(k, segment)] = BandColour(kinds[size_t(segment)], k);
    }
}

BandRaster::~BandRaster() = default;

double BandRaster::work() const
{
    const BandScene& s = *scene_;
    if (s.shaded < 2 || (s.frames.empty() && s.discs.empty()))
        return 0;
    double sum = double(s.discs.size()) * s.shaded * s.shaded;
    for (const Frame& p : s.frames)
        sum += p.length * s.shaded;
    if (s.widest > WidestShadedPass)
        sum += double(s.frames.size() + s.discs.size()) * Canvas::Height;
    return sum;
}

void BandRaster::paintRows(const CanvasPixels& pixels, const RowShare& rows)
{
    if (!tables_)
        return; // nothing to paint
    SweepRows(*scene_, *tables_, pixels, rows);
}

} // namespace tram
