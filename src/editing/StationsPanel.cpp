#include "editing/StationsPanel.h"

#include "editing/RefusalTexts.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>

namespace tram {

namespace {

constexpr int16_t StartTime = 10;

// Reads the boxes of one edit and remembers the first box whose value does not
// fit its field, so that nothing is written unless every box fits.
class FieldReader {
public:
    uint8_t byteField(const QString& text, const char* caption)
    {
        if (const auto value = ToByte(ReadNumber(text)))
            return *value;
        refuse(caption, RangeOf<uint8_t>());
        return 0;
    }

    int16_t int16Field(const QString& text, const char* caption)
    {
        if (const auto value = ToInt16(ReadNumber(text)))
            return *value;
        refuse(caption, RangeOf<int16_t>());
        return 0;
    }

    double finiteField(const QString& text, const char* caption)
    {
        const double value = ReadNumber(text);
        if (std::isfinite(value))
            return value;
        refuse(caption, AnyFiniteNumber);
        return 0;
    }

    const std::optional<Refusal>& refusal() const { return refusal_; }

private:
    void refuse(const char* caption, const QString& allowed)
    {
        if (!refusal_)
            refusal_ = DoesNotFit(BoxCaptioned(QString::fromLatin1(caption)), allowed);
    }

    std::optional<Refusal> refusal_;
};

std::optional<Refusal> applyToStation(const PropertyTexts& texts, Station& station)
{
    FieldReader read;
    const uint8_t segment = read.byteField(texts.segment, "Na segmentu:");
    const double position = read.finiteField(texts.position, "Pozicija:");
    const int16_t time1 = read.int16Field(texts.time1, "Vrijeme1:");
    if (read.refusal())
        return read.refusal();

    station.Segment = segment;
    station.Position = position;
    station.Time1 = time1;
    station.Name = StoredName(texts.name);
    return std::nullopt;
}

std::optional<Refusal> applyToLight(const PropertyTexts& texts, TrafficLight& light)
{
    FieldReader read;
    const uint8_t segment = read.byteField(texts.segment, "Na segmentu:");
    const double position = read.finiteField(texts.position, "Pozicija:");
    const uint8_t initialState = read.byteField(texts.initialState, "Pocetno stanje:");
    const int16_t time1 = read.int16Field(texts.time1, "Vrijeme1:");
    const int16_t time2 = read.int16Field(texts.time2, "Vrijeme2:");
    if (read.refusal())
        return read.refusal();

    light.Segment = segment;
    light.Position = position;
    light.Counter = 0;
    light.InitialState = initialState;
    light.Time1 = time1;
    light.Time2 = time2;
    return std::nullopt;
}

bool isPadding(char16_t c)
{
    return c == u' ' || c == u'\0';
}

} // namespace

std::optional<Refusal> NewStation(EditorModel& model)
{
    Scheme& scheme = model.scheme;
    if (scheme.StationCount >= MaxStations)
        return TableFull(QStringLiteral("Nova stanica nije dodana"), MaxStations, QStringLiteral("stanica"));

    const int n = ++scheme.StationCount;
    scheme.Stations[n].Time1 = StartTime;
    model.edit.CurrentStation = static_cast<uint8_t>(n);
    model.edit.SelectedKind = ObjectKind::Station;
    return std::nullopt;
}

std::optional<Refusal> NewLight(EditorModel& model)
{
    Scheme& scheme = model.scheme;
    if (scheme.LightCount >= MaxLights)
        return TableFull(QStringLiteral("Novi semafor nije dodan"), MaxLights, QStringLiteral("semafora"));

    const int n = ++scheme.LightCount;
    TrafficLight& light = scheme.Lights[n];
    light.InitialState = 0;
    light.Time1 = StartTime;
    light.Time2 = StartTime;
    model.edit.CurrentLight = static_cast<uint8_t>(n);
    model.edit.SelectedKind = ObjectKind::Light;
    return std::nullopt;
}

std::optional<PropertyTexts> ShowSelectedObject(const EditorModel& model)
{
    const EditState& edit = model.edit;
    switch (edit.SelectedKind) {
    case ObjectKind::Station: {
        const Station& station = model.scheme.Stations[edit.CurrentStation];
        return PropertyTexts{.number = ShowNumber(edit.CurrentStation),
                             .segment = ShowNumber(station.Segment),
                             .position = ShowNumber(station.Position),
                             .time1 = ShowNumber(station.Time1),
                             .time2 = QString(),
                             .initialState = QString(),
                             .name = ShownName(station.Name)};
    }
    case ObjectKind::Light: {
        const TrafficLight& light = model.scheme.Lights[edit.CurrentLight];
        return PropertyTexts{.number = ShowNumber(edit.CurrentLight),
                             .segment = ShowNumber(light.Segment),
                             .position = ShowNumber(light.Position),
                             .time1 = ShowNumber(light.Time1),
                             .time2 = ShowNumber(light.Time2),
                             .initialState = ShowNumber(light.InitialState),
                             .name = QString()};
    }
    case ObjectKind::Nothing:
        break;
    }
    return std::nullopt;
}

std::optional<Refusal> ApplyProperties(const PropertyTexts& texts, EditorModel& model)
{
    const EditState& edit = model.edit;
    switch (edit.SelectedKind) {
    case ObjectKind::Station:
        return applyToStation(texts, model.scheme.Stations[edit.CurrentStation]);
    case ObjectKind::Light:
        return applyToLight(texts, model.scheme.Lights[edit.CurrentLight]);
    case ObjectKind::Nothing:
        break;
    }
    return std::nullopt;
}

StationName StoredName(const QString& typed)
{
    StationName name;
    name.fill(u' ');
    const qsizetype kept = std::min<qsizetype>(typed.size(), NameLength);
    for (qsizetype i = 0; i < kept; ++i)
        name[i] = typed[i].unicode();
    return name;
}

QString ShownName(const StationName& name)
{
    qsizetype first = 0;
    qsizetype end = NameLength;
    while (first < end && isPadding(name[first]))
        ++first;
    while (end > first && isPadding(name[end - 1]))
        --end;
    return QString::fromUtf16(name.data() + first, end - first);
}

} // namespace tram
