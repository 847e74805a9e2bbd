#include "entryname.h"
#include "applicationlayout.h"
#include "serverlayout.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

namespace {

bool hasForbiddenCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            return true;
    }
    return false;
}

// Windows drops a trailing dot or blank, so "a." or "a " would land on "a".
bool endsInDotOrBlank(const QString &segment)
{
    return segment != QLatin1String(".")
           && (segment.endsWith(QLatin1Char('.')) || segment.endsWith(QLatin1Char(' ')));
}

// Names that Windows opens as devices, whatever the extension or case.
bool isDeviceName(const QString &segment)
{
    static const QRegularExpression device(
        QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9]|conin\\$|conout\\$) *(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return device.match(segment).hasMatch();
}

// What the updater keeps where a release file would be staged or installed.
// A folder of that name is in its way as much as a file.
QString updatersOwn(const QString &path)
{
    const auto isOrIn = [&path](const QString &name) {
        return path.compare(name, Qt::CaseInsensitive) == 0
               || path.startsWith(name + QLatin1Char('/'), Qt::CaseInsensitive);
    };
    if (isOrIn(ApplicationLayout::localManifestName()))
        return QStringLiteral("the updater's manifest goes there");
    if (isOrIn(ServerLayout::signatureName()))
        return QStringLiteral("the manifest's signature goes there");
    if (isOrIn(ApplicationLayout::lockName()))
        return QStringLiteral("the updater's lock goes there");
    if (isOrIn(ApplicationLayout::downloadFolderName()))
        return QStringLiteral("the updater's download folder is there");
    if (isOrIn(ApplicationLayout::bookkeepingFolderName()))
        return QStringLiteral("the updater stages its own records there");
    return QString();
}

} // namespace

bool isSafeEntry(const QString &dir, const QString &name, QString *reason)
{
    const auto refuse = [reason](const QString &why) {
        *reason = why;
        return false;
    };
    if (name.isEmpty())
        return refuse(QStringLiteral("the file has no name"));
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/')))
        return refuse(QStringLiteral("the name is not a plain file name"));
    if (hasForbiddenCharacter(name) || hasForbiddenCharacter(dir))
        return refuse(QStringLiteral("a drive letter, backslash or control character in the path"));
    if (dir.startsWith(QLatin1Char('/')))
        return refuse(QStringLiteral("the folder is absolute"));
    const QStringList segments = dir.split(QLatin1Char('/')) << name;
    if (segments.contains(QStringLiteral("..")))
        return refuse(QStringLiteral("the folder climbs out with \"..\""));
    for (const QString &segment : segments) {
        if (endsInDotOrBlank(segment))
            return refuse(QStringLiteral("a folder or name ends in a dot or blank"));
        if (isDeviceName(segment))
            return refuse(QStringLiteral("a folder or name is a Windows device name"));
    }
    return true;
}

bool isPublishable(const QString &dir, const QString &name, QString *reason)
{
    if (!isSafeEntry(dir, name, reason) || !survivesInAddress(dir + name, reason))
        return false;
    const QString path = QDir::cleanPath(dir.isEmpty() ? name : dir + QLatin1Char('/') + name);
    const QString own = updatersOwn(path);
    if (own.isEmpty())
        return true;
    *reason = QStringLiteral("the release may not hold %1: %2").arg(path, own);
    return false;
}

bool survivesInAddress(const QString &path, QString *reason)
{
    for (const QChar c : {QLatin1Char('#'), QLatin1Char('?'), QLatin1Char('%')}) {
        if (path.contains(c)) {
            *reason = QStringLiteral("\"%1\" cannot stand in a download address").arg(c);
            return false;
        }
    }
    return true;
}


bool namesReleaseFolder(const QString &version, QString *reason)
{
    if (version.isEmpty()) {
        *reason = QStringLiteral("it is empty");
        return false;
    }
    // One folder: "v" and the version, without the "/" that ends it.
    return isSafeEntry(QString(), ServerLayout::releaseFolder(version).chopped(1), reason)
           && survivesInAddress(version, reason);
}
