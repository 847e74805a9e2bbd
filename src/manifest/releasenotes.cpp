#include "releasenotes.h"

#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QLocale>

namespace {

const QLatin1String prefix("info-");

// 0: another language; 1: the same language; 2: also the same country; 3: the
// same tag. A tag without a country stands for the language's main one.
int closeness(const QString &tag, const QLocale &language)
{
    const QLocale offered(tag);
    if (offered.language() == QLocale::C || offered.language() != language.language())
        return 0;
    // A reader of one Chinese script may not read the other.
    if (offered.language() == QLocale::Chinese && offered.script() != language.script())
        return 0;
    QString wanted = language.name();
    wanted.replace(QLatin1Char('_'), QLatin1Char('-'));
    if (tag.compare(wanted, Qt::CaseInsensitive) == 0)
        return 3;
    return offered.country() == language.country() ? 2 : 1;
}

} // namespace

QString ReleaseNotes::choose(const QDomElement &release, const QLocale &language)
{
    QString bestName;
    int best = 0;
    const QDomNamedNodeMap attributes = release.attributes();
    for (int i = 0; i < attributes.length(); ++i) {
        const QDomAttr attribute = attributes.item(i).toAttr();
        const QString name = attribute.name();
        if (!name.startsWith(prefix) || attribute.value().isEmpty())
            continue;
        const int score = closeness(name.mid(prefix.size()), language);
        // The attributes come in no set order. Of equals, the language's
        // notes for all its countries go before another country's.
        const bool before = name.size() < bestName.size() || (name.size() == bestName.size() && name < bestName);
        if (score > best || (score == best && score > 0 && before)) {
            best = score;
            bestName = name;
        }
    }
    return release.attribute(best > 0 ? bestName : QStringLiteral("info"));
}

QStringList ReleaseNotes::languages(const QDomElement &release)
{
    QStringList tags;
    const QDomNamedNodeMap attributes = release.attributes();
    for (int i = 0; i < attributes.length(); ++i) {
        const QString name = attributes.item(i).nodeName();
        if (name.startsWith(prefix))
            tags << name.mid(prefix.size());
    }
    tags.sort();
    return tags;
}

// Updaters that know only info ignore the others.
void ReleaseNotes::write(QDomElement release, const QString &notes, const QMap<QString, QString> &byLanguage)
{
    release.setAttribute(QStringLiteral("info"), notes);
    for (auto language = byLanguage.begin(); language != byLanguage.end(); ++language)
        release.setAttribute(prefix + language.key(), language.value());
}
