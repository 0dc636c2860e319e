#include "ui/CanvasWidget.h"

#include "view/Canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace tram {

CanvasWidget::CanvasWidget(std::shared_ptr<const Canvas> canvas, QWidget* parent)
    : QWidget(parent)
    , canvas_(std::move(canvas))
{
    setFixedSize(Canvas::Width, Canvas::Height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

int CanvasWidget::buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int CanvasWidget::buttonsCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int CanvasWidget::modifierMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

void CanvasWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect r = event->rect();
    painter.drawImage(r, canvas_->image(), r);
}

void CanvasWidget::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit mouseDown(buttonCode(event->button()), modifierMask(event->modifiers()), float(p.x()), float(p.y()));
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit mouseMove(buttonsCode(event->buttons()), modifierMask(event->modifiers()), float(p.x()), float(p.y()));
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    emit mouseUp(buttonCode(event->button()), modifierMask(event->modifiers()), float(p.x()), float(p.y()));
}

void CanvasWidget::keyReleaseEvent(QKeyEvent* event)
{
    emit keyUp(event->key(), modifierMask(event->modifiers()));
}

} // namespace tram
