#include "editing/TramsPanel.h"

#include "editing/Stepping.h"
#include "model/NumberText.h"

namespace tram {

namespace {
constexpr int SerialOffset = 100;
constexpr uint8_t NewTramRoute = 3;
} // namespace

TramPanelTexts TramPanelOf(const Scheme& scheme, int tram)
{
    return {ShowNumber(scheme.TramSerial[tram]), ShowNumber(scheme.TramRoute[tram])};
}

std::optional<Refusal> RunTramCommand(TramCommand command, const TramPanelTexts& typed,
                                      Scheme& scheme, EditState& edit)
{
    const std::optional<uint8_t> route = ToByte(ReadNumber(typed.route));
    if (!route)
        return QStringLiteral("Vrijednost u polju \"Ruta:\" mora biti izmedju 0 i 255.");
    if (command == TramCommand::New && scheme.TramCount >= MaxTrams)
        return QStringLiteral("Novi vlakon nije dodan: vec postoji najvise %1 vlakona.").arg(MaxTrams);

    scheme.TramRoute[edit.CurrentTram] = *route;

    switch (command) {
    case TramCommand::New: {
        const uint8_t n = ++scheme.TramCount;
        edit.CurrentTram = n;
        scheme.TramSerial[n] = static_cast<uint8_t>(n + SerialOffset);
        scheme.TramRoute[n] = NewTramRoute;
        break;
    }
    case TramCommand::Previous:
        StepToPrevious(edit.CurrentTram);
        break;
    case TramCommand::Next:
        StepToNext(edit.CurrentTram, TramsInUse(scheme));
        break;
    }
    return std::nullopt;
}

} // namespace tram
