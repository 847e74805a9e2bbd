#include "windowmover.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowMover::WindowMover(QWidget *band, QWidget *window)
    : QObject(window)
    , window(window)
{
    band->installEventFilter(this);
}

bool WindowMover::eventFilter(QObject *watched, QEvent *event)
{
    Q_UNUSED(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() != Qt::LeftButton)
            return false;
        // The system's move snaps and keeps within the screens as the user knows it.
        QWindow *handle = window->windowHandle();
        following = !(handle && handle->startSystemMove());
        grabbedAt = press->globalPos() - window->pos();
        return true;
    }
    case QEvent::MouseMove:
        if (!following)
            return false;
        window->move(static_cast<QMouseEvent *>(event)->globalPos() - grabbedAt);
        return true;
    case QEvent::MouseButtonRelease:
        if (!following)
            return false;
        following = false;
        return true;
    default:
        return false;
    }
}
