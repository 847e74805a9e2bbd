#ifndef STAGINGRECORDS_H
#define STAGINGRECORDS_H

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>
#include <QTimer>

/// What earlier attempts learnt about staged files, by address: the server's
/// validator and the whole file's length, so that a partly staged file can
/// be continued and a whole one confirmed instead of fetched again. Kept as
/// lines appended to one file in the download directory, written a few
/// times a second rather than once a file, and at the end.
/// A record is a hint, never trusted: the server's answer to the validator
/// and the file's size on disk decide whether it is used; one lost with a
/// kill or a power cut only costs a download.
class StagingRecords
{
public:
    struct Record
    {
        QByteArray validator;
        qint64 length = -1;
    };

    explicit StagingRecords(const QString &path);
    ~StagingRecords();

    /// The last record for \a url; an empty validator when there is none.
    Record find(const QString &url) const { return records.value(url); }
    void remember(const QString &url, const QByteArray &validator, qint64 length);

private:
    void writePending();

    QFile log;
    QHash<QString, Record> records;
    QByteArray pending;
    QTimer writeSoon;
};

#endif // STAGINGRECORDS_H
