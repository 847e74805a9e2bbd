#ifndef BENCHSETUP_H
#define BENCHSETUP_H

#include <QByteArray>
#include <QString>
#include <QVector>

#include <QtGlobal>

#include <atomic>
#include <thread>

// What the benchmarks share to lay out application directories and releases.

constexpr qint64 mebibyte = 1024 * 1024;

struct ManifestEntry
{
    QByteArray dir;
    QByteArray name;
    QByteArray version;
};

/// A manifest whose current release is \a release and lists \a files.
QByteArray manifestXml(const QByteArray &release, const QVector<ManifestEntry> &files);
/// A manifest of \a files files spread over 16 plug-in folders: release 2.0.0,
/// or for \a downloaded 2.1.0, in which every second file is new.
QByteArray generatedManifest(int files, bool downloaded);

/// Writes \a content to \a path, making its folder first.
bool writeFile(const QString &path, const QByteArray &content);
/// Writes \a sizeMiB of random-looking bytes, no two MiB alike; their SHA-1.
QByteArray writeSourceFile(const QString &path, int sizeMiB);
QByteArray sha1Of(const QString &path);

/// The first number after \a field ("VmHWM:", "wchar:") in /proc/self/\a file
/// ("status", in KiB, or "io", in bytes); -1 when there is none.
qint64 procSelfCounter(const char *file, const char *field);

/// The highest RssAnon of this process (KiB) while the object lives,
/// sampled every millisecond on a thread of its own.
class AnonymousMemoryPeak
{
public:
    AnonymousMemoryPeak();
    ~AnonymousMemoryPeak() { finish(); }
    qint64 finish();

private:
    std::atomic<bool> stop{false};
    std::atomic<qint64> peak{0};
    std::thread sampler;
};

/// The middle of \a samples, the mean of the two middle ones for an even count.
double median(QVector<double> samples);

/// Flushes what earlier steps left dirty, so that no timed step pays for it.
bool syncDisks();

/// Makes this process's TLS connections, Qt's and the downloads', trust the
/// authority in \a path too.
bool trustAuthority(const QString &path);

/// A message handler that drops everything, for the lines a run prints by design.
void discardMessage(QtMsgType, const QMessageLogContext &, const QString &);

#endif // BENCHSETUP_H
