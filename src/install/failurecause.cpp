#include "failurecause.h"
#include "applicationlayout.h"
#include "httpdownloadfile.h"

#include <QDataStream>
#include <QStorageInfo>

#include <climits>

namespace {

// Below this much free space a failed write is taken for a full disk.
constexpr qint64 nearlyFull = 1024 * 1024;

// Rounded up: "needs 0 MB more" would read as a contradiction.
qint64 megabytes(qint64 bytes)
{
    const qint64 mebibyte = 1024 * 1024;
    return qMax<qint64>(1, (bytes + mebibyte - 1) / mebibyte);
}

} // namespace

FailureCause FailureCause::ofDownload(const HttpDownloadFile &download, const QString &path)
{
    using Problem = HttpDownloadFile::Problem;
    switch (download.problem()) {
    case Problem::MissingFile:
        return FailureCause(Kind::MissingFile);
    case Problem::ServerTrouble:
        return FailureCause(Kind::ServerTrouble);
    case Problem::Unreachable:
        return FailureCause(Kind::Unreachable);
    case Problem::Stalled:
        return FailureCause(Kind::Stalled, QString(), download.stalledFor());
    case Problem::Damaged:
        return FailureCause(Kind::Damaged);
    case Problem::Untrusted:
        return FailureCause(Kind::Untrusted);
    case Problem::Proxy:
        return FailureCause(Kind::Proxy);
    case Problem::Redirect:
        return FailureCause(Kind::Redirect);
    case Problem::CannotWrite:
        return ofWriteFailure(path);
    case Problem::Other:
    case Problem::None:
        break;
    }
    return FailureCause(Kind::Other);
}

FailureCause FailureCause::ofWriteFailure(const QString &path)
{
    QStorageInfo volume(path);
    for (QString folder = path; !volume.isValid() && folder.contains(QLatin1Char('/'));) {
        folder = folder.section(QLatin1Char('/'), 0, -2);
        volume.setPath(folder.isEmpty() ? QStringLiteral("/") : folder);
    }
    if (volume.isValid() && volume.bytesAvailable() < nearlyFull)
        return FailureCause(Kind::NoSpace);
    return FailureCause(Kind::CannotWrite);
}

QDataStream &operator<<(QDataStream &out, const FailureCause &cause)
{
    return out << int(cause.what) << cause.subject << cause.amount << cause.program;
}

QDataStream &operator>>(QDataStream &in, FailureCause &cause)
{
    int kind = 0;
    in >> kind >> cause.subject >> cause.amount >> cause.program;
    const bool known = kind >= int(FailureCause::Kind::None) && kind <= int(FailureCause::Kind::Expired);
    cause.what = known ? FailureCause::Kind(kind) : FailureCause::Kind::Other;
    return in;
}

FailureCause FailureCause::ofHeldFile(const QString &file, const QString &program)
{
    FailureCause cause(Kind::Held, file);
    cause.program = program;
    return cause;
}

QString FailureCause::plainWords() const
{
    switch (what) {
    case Kind::None:
        break;
    case Kind::MissingFile:
        return tr("the publisher's server is missing a file of this release; try again later");
    case Kind::ServerTrouble:
        return tr("the publisher's server did not hand out a file of this release; try again later");
    case Kind::Unreachable:
        return tr("the update server could not be reached; check the internet connection");
    case Kind::Stalled:
        // The count picks the plural form; the exact seconds are shown.
        return tr("the download stopped for %1 s; check the internet connection and try again", nullptr,
                  int(amount / 1000))
            .arg(amount / 1000.0);
    case Kind::Damaged:
        return tr("a downloaded file was damaged on the way; try again later");
    case Kind::Untrusted:
        return tr("the update server could not prove that it is the publisher's; check the "
                  "computer's date and time, or try again later");
    case Kind::Proxy:
        return tr("the proxy server between this computer and the internet did not let the "
                  "download through; check the proxy settings");
    case Kind::Redirect:
        return tr("the publisher's server sent the download to an address that may not be used; "
                  "try again later");
    case Kind::NoSpace:
        if (amount > 0)
            return tr("there is not enough free space on the disk: it needs %n MB more; free some "
                      "space and try again", nullptr, int(qMin<qint64>(megabytes(amount), INT_MAX)));
        return tr("there is not enough free space on the disk; free some space and try again");
    case Kind::CannotWrite:
        return tr("the updater may not write into the folder of Brenvoth; check that it may be "
                  "written and try again");
    case Kind::InUse:
        return tr("a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may "
                  "be written and try again").arg(subject);
    case Kind::Held:
        // Only Brenvoth itself is for the user to close.
        if (program.compare(ApplicationLayout::programName(), Qt::CaseInsensitive) == 0)
            return tr("a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again")
                .arg(subject);
        if (program.isEmpty())
            return tr("a file of Brenvoth, %1, is in use by another program; try again in a minute")
                .arg(subject);
        return tr("a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it")
            .arg(subject, program);
    case Kind::FolderInTheWay:
        return tr("a folder stands where the file %1 of Brenvoth must go; move it away and try "
                  "again").arg(subject);
    case Kind::BadManifest:
        return tr("the description of this release is faulty, so it cannot be installed; the "
                  "publisher has to correct it");
    case Kind::NotVerified:
        return tr("the update could not be verified as coming from the publisher and was not installed");
    case Kind::Older:
        return tr("the offered release %1 is older than the installed one and was not installed")
            .arg(subject);
    case Kind::Other:
        return tr("a file of this release could not be fetched; try again later");
    case Kind::NotWritable:
        return tr("%1 is read-only or may be changed only by an administrator, so nothing was "
                  "downloaded; make it writable, or have an administrator run the update, and try again")
            .arg(subject.isEmpty() ? tr("the folder of Brenvoth")
                                   : tr("%1 in the folder of Brenvoth").arg(subject));
    case Kind::Expired:
        return tr("the update server, or the mirror it is served from, is out of date (its list of releases "
                  "expired on %1); this is not your fault, and the update will be offered again once the "
                  "server is brought up to date").arg(subject);
    }
    return QString();
}
