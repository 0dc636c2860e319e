#pragma once

#include "model/EditorModel.h"
#include "model/Refusal.h"

#include <optional>

namespace tram {

// The tram panel as the user sees it: nothing but texts.
struct TramPanelTexts {
    QString serial; // "Serijski broj:", never read back
    QString route;  // "Ruta:"
    friend bool operator==(const TramPanelTexts&, const TramPanelTexts&) = default;
};

TramPanelTexts TramPanelOf(const Scheme& scheme, int tram);

enum class TramCommand { New, Previous, Next };

// What a new tram gets: its number plus the offset as its serial, and a route.
inline constexpr int TramSerialOffset = 100;
inline constexpr uint8_t NewTramRoute = 3;

// Stores the typed route into tram CurrentTram (element 0 before the first
// tram exists), then appends a tram or steps within 1..TramCount. A route
// that does not fit a byte or a tram past MaxTrams refuses the command with
// the returned text, and nothing at all changes. The caller shows
// TramPanelOf(CurrentTram) afterwards.
[[nodiscard]] std::optional<Refusal> RunTramCommand(TramCommand command, const TramPanelTexts& typed, Scheme& scheme,
                                                    EditState& edit);

} // namespace tram
