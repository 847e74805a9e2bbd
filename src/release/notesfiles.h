// Reads the release notes that --notes and --notes-for name.

#ifndef NOTESFILES_H
#define NOTESFILES_H

#include <QMap>
#include <QString>
#include <QStringList>

/// Notes per language, by language tag.
using LanguageNotes = QMap<QString, QString>;

/// The UTF-8 text of the notes file at \a path, without blanks around it.
bool readNotes(const QString &path, QString *notes, QString *error);

/// The notes of each "LANGUAGE=FILE" in \a notesFor: a language tag as
/// "de", "pt-BR", "zh-TW", each given once.
bool readLanguageNotes(const QStringList &notesFor, LanguageNotes *languageNotes, QString *error);

#endif // NOTESFILES_H
