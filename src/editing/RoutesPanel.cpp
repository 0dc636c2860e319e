#include "editing/RoutesPanel.h"

#include "editing/RefusalTexts.h"
#include "editing/Stepping.h"
#include "model/NumberText.h"

namespace tram {

namespace {

struct TypedRoute {
    uint8_t length = 0;
    std::array<uint8_t, MaxRouteSlots + 1> segments{};
};

// The typed route, or the reason it cannot be stored.
std::optional<Refusal> readTypedRoute(const RoutePanelTexts& typed, TypedRoute& route)
{
    const std::optional<uint8_t> length = ToByte(ReadNumber(typed.length));
    if (!length || *length > MaxRouteSlots)
        return DoesNotFit(BoxCaptioned(QStringLiteral("Broj segmenata:")), Between(0, MaxRouteSlots));
    route.length = *length;
    for (int k = 1; k <= route.length; ++k) {
        const std::optional<uint8_t> segment = ToByte(ReadNumber(typed.segments[k]));
        if (!segment)
            return DoesNotFit(RouteSegmentBox(k), RangeOf<uint8_t>());
        route.segments[k] = *segment;
    }
    return std::nullopt;
}

} // namespace

RoutePanelTexts RoutePanelOf(const Scheme& scheme, int route)
{
    RoutePanelTexts texts;
    texts.number = ShowNumber(route);
    texts.length = ShowNumber(scheme.RouteLength[route]);
    for (int k = 1; k <= RouteSlotsInUse(scheme, route); ++k)
        texts.segments[k] = ShowNumber(scheme.RouteSegments[route][k]);
    return texts;
}

std::optional<Refusal> RunRouteCommand(RouteCommand command, const RoutePanelTexts& typed, Scheme& scheme,
                                       EditState& edit)
{
    TypedRoute route;
    if (auto refusal = readTypedRoute(typed, route))
        return refusal;
    if (command == RouteCommand::New && scheme.RouteCount >= MaxRoutes)
        return TableFull(QStringLiteral("Nova ruta nije dodana"), MaxRoutes, QStringLiteral("ruta"));

    // Slots beyond the typed length keep what they held.
    const int r = edit.CurrentRoute;
    scheme.RouteLength[r] = route.length;
    for (int k = 1; k <= route.length; ++k)
        scheme.RouteSegments[r][k] = route.segments[k];

    switch (command) {
    case RouteCommand::New:
        edit.CurrentRoute = ++scheme.RouteCount;
        break;
    case RouteCommand::Previous:
        StepToPrevious(edit.CurrentRoute);
        break;
    case RouteCommand::Next:
        StepToNext(edit.CurrentRoute, RoutesInUse(scheme));
        break;
    }
    return std::nullopt;
}

} // namespace tram
