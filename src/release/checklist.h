// Lists what --check fetches, read from a published manifest as the updater
// reads it.

#ifndef CHECKLIST_H
#define CHECKLIST_H

#include <QByteArray>
#include <QCoreApplication>
#include <QDomElement>
#include <QString>
#include <QStringList>
#include <QVector>

/// The current release of a published manifest as --check looks for it:
/// every file, and for each that an updater can check, its .zst and its
/// patches, with the size and digest each must have; and what is wrong with
/// the manifest and its entries.
class CheckList
{
    Q_DECLARE_TR_FUNCTIONS(CheckList)

public:
    struct Item
    {
        enum class Kind { File, Compressed, Patch };
        Kind kind = Kind::File;
        QString path;          // relative to the download base
        qint64 size = -1;      // of this file; -1: not given
        QByteArray sha256;     // of a raw file; empty: not given
        qint64 decodedSize = -1; // what a .zst or a patch decodes to
        QByteArray decodedSha256;
        QString reference;     // the earlier copy a patch starts from; empty: none listed
        qint64 referenceSize = -1;
        QByteArray referenceSha256;
    };

    /// Something wrong with the manifest: where, relative to the download
    /// base, and what.
    struct Problem
    {
        QString path;
        QString text;
    };

    /// Reads the manifest \a bytes; \a keyed when its signature is checked,
    /// as an updater with a key checks it. False when it names no release
    /// that can be looked for; problems() then says why.
    bool read(const QByteArray &bytes, bool keyed);

    /// The version the manifest offers as its current release.
    QString version() const { return currentVersion; }
    /// "v<version>/"
    QString releaseFolder() const { return folder; }
    /// The languages of the release's info-<language> notes.
    QStringList notesLanguages() const { return languages; }
    /// In the manifest's order.
    const QVector<Item> &items() const { return listed; }
    /// In the manifest's order.
    const QVector<Problem> &problems() const { return found; }

private:
    void listEntry(const QDomElement &element);
    void addProblem(const QString &path, const QString &problem);

    bool signatureChecked = false;
    QString currentVersion;
    QString folder;
    QStringList languages;
    QVector<Item> listed;
    QVector<Problem> found;
};

#endif // CHECKLIST_H
