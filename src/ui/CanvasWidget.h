#pragma once

#include <QWidget>
#include <memory>

namespace tram {

class Canvas;

// picCanvas: shows the canvas image one to one and reports the mouse in canvas
// pixels. It shares the canvas, so the picture lasts as long as the widget. Qt
// grabs the mouse while a button is held, so moves and the release outside the
// widget still arrive here.
class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    CanvasWidget(std::shared_ptr<const Canvas> canvas, QWidget* parent);

    // Button codes: 1 left, 2 right, 4 middle. Modifier mask: 1 Shift, 2 Ctrl, 4 Alt.
    static int buttonCode(Qt::MouseButton button);
    static int buttonsCode(Qt::MouseButtons buttons);
    static int modifierMask(Qt::KeyboardModifiers modifiers);

signals:
    void mouseDown(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);
    void keyUp(int keyCode, int shift);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    std::shared_ptr<const Canvas> canvas_;
};

} // namespace tram
