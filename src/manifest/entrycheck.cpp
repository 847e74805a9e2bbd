#include "entrycheck.h"

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
    const QStringList segments = dir.split(QLatin1Char('/'));
    if (segments.contains(QStringLiteral("..")))
        return refuse(QStringLiteral("the folder climbs out with \"..\""));
    return true;
}
