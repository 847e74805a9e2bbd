#include "screenscaling.h"

#include <QGuiApplication>

void enableHighDpiScaling()
{
    // Qt declares the program DPI aware on Windows, so nothing else enlarges
    // the window's fixed geometry while its fonts grow with the scale.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}
