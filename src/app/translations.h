#ifndef TRANSLATIONS_H
#define TRANSLATIONS_H

#include <QString>
#include <QStringList>

class QCoreApplication;

/// The window's languages: which translation a user's display languages ask
/// for, and installing it. English, the source language, needs none.
class Translations
{
public:
    /// The languages with a translation in the resources, as "de", "pt_BR", "zh_TW".
    static QStringList available();

    /// The first of \a uiLanguages (as QLocale::uiLanguages() gives them,
    /// most preferred first) that one of \a available translates; the
    /// empty text for English, which is also what a list without any gives.
    static QString choose(const QStringList &uiLanguages, const QStringList &available);

    /// Installs into \a app the translation that \a uiLanguages choose, which
    /// also turns the layout right to left for a right-to-left language.
    /// Returns the chosen language, empty for English.
    static QString install(QCoreApplication *app, const QStringList &uiLanguages);
};

#endif // TRANSLATIONS_H
