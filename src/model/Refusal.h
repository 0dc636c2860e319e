#pragma once

#include <QString>
#include <optional>

namespace tram {

// How a command, a reader, a writer or the tool says no. Whatever can be
// refused returns [[nodiscard]] std::optional<Refusal>: empty when it did
// what was asked, else the message to show, and then nothing has changed.
// What a call produces goes into an out parameter, which a refusal leaves as
// it was. One shape everywhere, so every caller reads the same:
//
//     if (const auto refusal = SaveSchemeFile(path, scheme))
//         show(*refusal);
using Refusal = QString;

} // namespace tram
