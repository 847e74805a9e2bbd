#ifndef STYLESHEET_H
#define STYLESHEET_H

#include <QString>

class QFile;

/// The whole content of \a file as a style sheet. Opened without text-mode
/// translation, so the sheet arrives byte for byte; an unreadable file gives
/// the empty sheet.
QString readStyleSheet(QFile &file);

#endif // STYLESHEET_H
