#pragma once

class QWidget;

namespace tram {

// Gives the controls whose effect their caption does not tell a tooltip that
// explains it, and the same text as their accessible description, so a screen
// reader says it too. Nothing else about a control changes. Controls are found
// by object name under root; a control array (name_1, name_2, ...) shares the
// text of its name.
void ExplainControls(QWidget& root);

} // namespace tram
