#include "entryname.h"

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
