#pragma once

#include "model/EditorModel.h"
#include "model/Refusal.h"

#include <array>
#include <optional>

namespace tram {

// The route panel as the user sees it: nothing but texts.
struct RoutePanelTexts {
    QString number;                                  // "Broj rute:", never read back
    QString length;                                  // "Broj segmenata:"
    std::array<QString, MaxRouteSlots + 1> segments; // boxes 1..MaxRouteSlots, element 0 unused
    friend bool operator==(const RoutePanelTexts&, const RoutePanelTexts&) = default;
};

// What the panel shows for a route: its number, its length and the segments
// 1..length; the other boxes are empty.
RoutePanelTexts RoutePanelOf(const Scheme& scheme, int route);

enum class RouteCommand { New, Previous, Next };

// Stores the typed panel into route CurrentRoute (element 0 before the first
// route exists), then appends a route or steps within 1..RouteCount. The
// length box decides how many slot boxes are read; empty boxes store 0.
// A length above MaxRouteSlots, a slot that does not fit a byte or a route
// past MaxRoutes refuses the command with the returned text, and nothing at
// all changes. The caller shows RoutePanelOf(CurrentRoute) afterwards.
[[nodiscard]] std::optional<Refusal> RunRouteCommand(RouteCommand command, const RoutePanelTexts& typed, Scheme& scheme,
                                                     EditState& edit);

} // namespace tram
