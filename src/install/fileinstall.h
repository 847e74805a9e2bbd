#ifndef FILEINSTALL_H
#define FILEINSTALL_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

/// Lets the window handle its events between slices of long work.
void keepWindowResponsive();

/// Waits \a msecs while the window handles its events, without busy-waiting.
void pauseResponsively(int msecs);

/// Lets the window handle its events, without busy-waiting, until \a done
/// returns true. It is asked again only after an event: whatever can make it
/// true must call wakeResponsiveWait().
void waitResponsively(const std::function<bool()> &done);

/// Has a waitResponsively() of this thread ask its condition again.
void wakeResponsiveWait();

/// The SHA-256 of the file at \a path (32 raw bytes), empty when it cannot be
/// read; \a keepResponsive is called between slices of a large file.
QByteArray fileSha256(const QString &path, const std::function<void()> &keepResponsive);

#endif // FILEINSTALL_H
