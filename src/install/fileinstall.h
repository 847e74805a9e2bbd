#ifndef FILEINSTALL_H
#define FILEINSTALL_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

/// The SHA-256 of the file at \a path (32 raw bytes), empty when it cannot be
/// read; \a keepResponsive is called between slices of a large file.
QByteArray fileSha256(const QString &path, const std::function<void()> &keepResponsive);

/// The progress bar's value while file \a index of \a count has received
/// \a received of \a total bytes: the file's share of 0..100 on top of the
/// shares of the files before it. An unknown total (all bits set) or an
/// empty file counts as nothing received yet.
int progressValue(int index, int count, quint64 received, quint64 total);

#endif // FILEINSTALL_H
