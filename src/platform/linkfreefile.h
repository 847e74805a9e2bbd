#ifndef LINKFREEFILE_H
#define LINKFREEFILE_H

#include <QFile>
#include <QString>

#include <vector>

/// A plain file below a folder, opened for reading only where nothing on the
/// way leads elsewhere: no symbolic link, junction or other reparse point in
/// the folder or any folder below it, and at the end a file with one name
/// (a hard link would let whoever holds its other name change what is read).
/// For a side that runs with more rights than the user who wrote the files.
/// On Windows the folders on the way stay open, unshareable for deletion,
/// until this object goes, so that none is swapped for a junction meanwhile;
/// elsewhere each folder is opened from the one above it, never by its path.
class LinkFreeFile
{
public:
    LinkFreeFile() = default;
    ~LinkFreeFile();
    LinkFreeFile(const LinkFreeFile &) = delete;
    LinkFreeFile &operator=(const LinkFreeFile &) = delete;

    /// Opens \a relativePath ('/'-separated, no "." or ".." in it) below \a root.
    bool open(const QString &root, const QString &relativePath);
    /// The opened file, read from its start.
    QFile &file() { return opened; }
    QString errorString() const { return error; }

private:
    bool fail(const QString &what, const QString &path);
    void releaseFolders();

    QFile opened;
    QString error;
#ifdef Q_OS_WIN
    std::vector<void *> heldFolders;
#endif
};

#endif // LINKFREEFILE_H
