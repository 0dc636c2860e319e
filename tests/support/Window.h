#pragma once

// The editor's window driven as a user drives it: controls found by their
// names, clicked and typed into, mouse events on the canvas; every dialog is
// answered by FakePrompts. The model is at hand for what a test sets up or
// checks that the window does not show. What can fail returns false, for the
// test to check: QVERIFY(w.type("txtRuta", "4")).

#include "support/FakePrompts.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

namespace testwindow {

struct Window {
    FakePrompts prompts;
    tram::MainWindow window{&prompts};
    QWidget* canvas = window.findChild<QWidget*>(QStringLiteral("picCanvas"));

    // For what needs the window on the screen: real geometry and painting.
    [[nodiscard]] bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    template <typename T>
    T* find(const char* name)
    {
        T* widget = window.findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QLineEdit* box(const char* name) { return find<QLineEdit>(name); }
    QString text(const char* box) { return find<QLineEdit>(box)->text(); }
    QString caption(const char* label) { return find<QLabel>(label)->text(); }

    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void clickCheckBox(const char* name)
    {
        QCheckBox* box = find<QCheckBox>(name);
        // On the indicator, which takes the click whatever the caption's length.
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
    }
    // False when the box takes no typing.
    [[nodiscard]] bool type(const char* box, const QString& text)
    {
        QLineEdit* edit = find<QLineEdit>(box);
        if (!edit->isEnabled())
            return false;
        edit->clear();
        QTest::keyClicks(edit, text);
        return true;
    }
    void trigger(const char* menuItem) { find<QAction>(menuItem)->trigger(); }

    // Mouse events as the platform delivers them to the canvas, at fractional
    // positions and outside the widget too (the canvas holds the mouse while a
    // button is down).
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers)
    {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(canvas, &event);
    }
    void press(QPointF at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseButtonPress, at, button, button, modifiers);
    }
    void move(QPointF at, Qt::MouseButtons held = Qt::LeftButton, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        send(QEvent::MouseMove, at, Qt::NoButton, held, modifiers);
    }
    void release(QPointF at, Qt::MouseButton button = Qt::LeftButton)
    {
        send(QEvent::MouseButtonRelease, at, button, Qt::NoButton, Qt::NoModifier);
    }
    QRgb pixel(QPoint p) { return window.canvas().image().pixel(p); }

    tram::Scheme& scheme() { return window.model().scheme; }
    tram::EditState& edit() { return window.model().edit; }
    tram::DisplaySettings& display() { return window.model().display; }
    tram::DragState& drag() { return window.model().drag; }
};

} // namespace testwindow
