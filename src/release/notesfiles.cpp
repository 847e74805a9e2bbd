#include "notesfiles.h"
#include "refusal.h"

#include <QFile>
#include <QRegularExpression>

bool readNotes(const QString &path, QString *notes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(error, QStringLiteral("cannot read the notes %1: %2").arg(path, file.errorString()));
    *notes = QString::fromUtf8(file.readAll()).trimmed();
    return true;
}

bool readLanguageNotes(const QStringList &notesFor, LanguageNotes *languageNotes, QString *error)
{
    static const QRegularExpression tag(QStringLiteral("^[A-Za-z]{2,3}(-[A-Za-z0-9]{2,8})*$"));
    for (const QString &option : notesFor) {
        const QString language = option.section(QLatin1Char('='), 0, 0);
        const QString path = option.section(QLatin1Char('='), 1);
        if (!option.contains(QLatin1Char('=')) || !tag.match(language).hasMatch() || path.isEmpty())
            return refuse(error, QStringLiteral("--notes-for takes LANGUAGE=FILE with a language tag such as de or "
                                                "pt-BR, not \"%1\"").arg(option));
        if (languageNotes->contains(language))
            return refuse(error, QStringLiteral("--notes-for gives %1 twice").arg(language));
        QString notes;
        if (!readNotes(path, &notes, error))
            return false;
        languageNotes->insert(language, notes);
    }
    return true;
}
