#ifndef RELEASEPROGRESS_H
#define RELEASEPROGRESS_H

#include <QVector>
#include <QtGlobal>

/// The share of a release's bytes staged, as the progress bar shows it while
/// many files arrive at once. Each file weighs its size where the manifest
/// gives one, else the average of the sizes given, so the whole is fixed
/// from the start. The value only grows and stays below 100: only the
/// committed release is complete.
class ReleaseProgress
{
public:
    /// \a sizes: each file's size from the manifest, -1 where none is given.
    explicit ReleaseProgress(const QVector<qint64> &sizes);

    /// File \a file has \a received of \a total bytes; total 0: unknown.
    void setReceived(int file, qint64 received, qint64 total);
    void setStaged(int file);
    /// 0 to 99.
    int value() const;

private:
    QVector<double> weights;
    QVector<double> shares;   // 0 to 1 of each file
    double whole = 0;
    double staged = 0;
};

#endif // RELEASEPROGRESS_H
