#ifndef WINDOWMOVER_H
#define WINDOWMOVER_H

#include <QObject>
#include <QPoint>

class QWidget;

/// Lets a drag of a frameless window's band move the window: the platform's
/// own move where it offers one, else the window follows the pointer.
class WindowMover : public QObject
{
public:
    /// Watches \a band, and the children that leave the pointer to it, for
    /// drags that move \a window, which owns the mover.
    WindowMover(QWidget *band, QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *window;
    bool following = false;
    QPoint grabbedAt;   // the pointer, from the window's corner
};

#endif // WINDOWMOVER_H
