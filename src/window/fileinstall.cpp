#include "fileinstall.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <limits>

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

QString existingAncestor(QString path)
{
    while (!QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QString();
        path = parent;
    }
    return path;
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

bool staysInside(const QString &root, const QString &path)
{
    const QString base = QFileInfo(root).canonicalFilePath();
    const QString ancestor = existingAncestor(QDir::cleanPath(path));
    if (base.isEmpty() || ancestor.isEmpty())
        return false;
    const QString resolved = QFileInfo(ancestor).canonicalFilePath();
    return resolved == base || resolved.startsWith(base + QLatin1Char('/'));
}

bool makeFolderInside(const QString &root, const QString &folder, QString *errorText)
{
    if (!staysInside(root, folder)) {
        *errorText = QStringLiteral("%1 lies outside %2").arg(folder, root);
        return false;
    }
    if (!QDir().mkpath(folder) || !staysInside(root, folder)) {
        *errorText = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    return true;
}

bool installFile(const QString &source, const QString &destination, QString *errorText)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *errorText = QStringLiteral("cannot read %1: %2").arg(source, in.errorString());
        return false;
    }
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly)) {
        *errorText = QStringLiteral("cannot write %1: %2").arg(destination, out.errorString());
        return false;
    }
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty()) {
        if (out.write(block) != block.size())
            break;
    }
    if (in.error() != QFileDevice::NoError || out.error() != QFileDevice::NoError) {
        *errorText = QStringLiteral("copying to %1 failed: %2")
                         .arg(destination, in.error() ? in.errorString() : out.errorString());
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        *errorText = QStringLiteral("cannot replace %1: %2").arg(destination, out.errorString());
        return false;
    }
    return true;
}

int progressValue(int index, int count, quint64 received, quint64 total)
{
    if (count <= 0)
        return 0;
    const int base = index * 100 / count;
    if (total == 0 || total == std::numeric_limits<quint64>::max())
        return base;
    received = qMin(received, total);
    const quint64 percent = received <= std::numeric_limits<quint64>::max() / 100
                                ? received * 100 / total
                                : received / (total / 100);
    return base + int(percent / quint64(count));
}
