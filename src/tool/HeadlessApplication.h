#pragma once

#include <QGuiApplication>
#include <memory>

namespace tram {

// The tool's application: a QGuiApplication, since names drawn as text and
// the SVG and PDF writers need fonts, on the offscreen platform (Debian's
// qt6-qpa-plugins), so it never needs a display whatever the environment
// says. Qt's notes while it starts (such as a missing XDG_RUNTIME_DIR) say
// nothing to a user of the tool and would mix with its messages: they are
// dropped; critical and fatal ones still go to standard error.
std::unique_ptr<QGuiApplication> StartHeadlessApplication(int& argc, char** argv);

} // namespace tram
