#include "editing/TramsPanel.h"

#include "editing/RefusalTexts.h"
#include "editing/Stepping.h"
#include "model/NumberText.h"

namespace tram {

TramPanelTexts TramPanelOf(const Scheme& scheme, int tram)
{
    return {ShowNumber(scheme.TramSerial[tram]), ShowNumber(scheme.TramRoute[tram])};
}

std::optional<Refusal> RunTramCommand(TramCommand command, const TramPanelTexts& typed, Scheme& scheme, EditState& edit)
{
    const std::optional<uint8_t> route = ToByte(ReadNumber(typed.route));
    if (!route)
        return DoesNotFit(BoxCaptioned(QStringLiteral("Ruta:")), RangeOf<uint8_t>());
    if (command == TramCommand::New && scheme.TramCount >= MaxTrams)
        return TableFull(QStringLiteral("Novi vlakon nije dodan"), MaxTrams, QStringLiteral("vlakona"));

    scheme.TramRoute[edit.CurrentTram] = *route;

    switch (command) {
    case TramCommand::New: {
        const uint8_t n = ++scheme.TramCount;
        edit.CurrentTram = n;
        scheme.TramSerial[n] = static_cast<uint8_t>(n + TramSerialOffset);
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
