#ifndef TESTUPDATER_H
#define TESTUPDATER_H

#include "updatecontroller.h"
#include "updatewindow.h"

#include <QString>

/// The updater on \a appDir as the program starts it: its controller,
/// fetching from \a baseUrl, and the window on it; the controller goes with
/// the window.
inline UpdateWindow *openUpdater(const QString &appDir, const QString &baseUrl = QString())
{
    auto *controller = new UpdateController(appDir, baseUrl);
    auto *window = new UpdateWindow(controller);
    controller->setParent(window);
    return window;
}

/// The controller of a window that openUpdater() made.
inline UpdateController *controllerOf(const UpdateWindow &window)
{
    return window.findChild<UpdateController *>(QString(), Qt::FindDirectChildrenOnly);
}

#endif // TESTUPDATER_H
