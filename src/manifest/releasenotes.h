#ifndef RELEASENOTES_H
#define RELEASENOTES_H

#include <QMap>
#include <QString>
#include <QStringList>

class QDomElement;
class QLocale;

/// The notes of a release in the reader's language. Beside its `info` a
/// release may carry notes per language, as `info-de`, `info-pt-BR` or
/// `info-zh-TW`; updaters that know only `info` ignore them.
class ReleaseNotes
{
public:
    /// The `info-<language>` of \a release that matches \a language best
    /// (the same tag, then the same country, then the same language, and for
    /// Chinese the same script), else its `info`.
    static QString choose(const QDomElement &release, const QLocale &language);
    /// The languages \a release has notes for beside its `info`, sorted.
    static QStringList languages(const QDomElement &release);
    /// Gives \a release the notes \a notes as its `info`, and \a byLanguage
    /// (language tag -> notes) each as its `info-<language>`.
    static void write(QDomElement release, const QString &notes, const QMap<QString, QString> &byLanguage);
};

#endif // RELEASENOTES_H
