#include "translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QTranslator>

namespace {

const char translationFolder[] = ":/translations";
const char filePrefix[] = "brenvoth_";

// Qt turns its layout right to left where this reads "RTL" in the installed
// translation, as Qt's own translations do it.
struct SourceText
{
    const char *source;
    const char *comment;
};
const SourceText layoutDirection = QT_TRANSLATE_NOOP3(
    "QGuiApplication", "QT_LAYOUT_DIRECTION",
    "Translate this string to the string 'LTR' in left-to-right languages or to "
    "'RTL' in right-to-left languages (such as Hebrew and Arabic) to get proper widget layout.");

// Chinese is written in two scripts, and a reader of one may not read the other.
bool sameLanguage(const QLocale &wanted, const QLocale &offered)
{
    return wanted.language() == offered.language()
        && (wanted.language() != QLocale::Chinese || wanted.script() == offered.script());
}

} // namespace

QStringList Translations::available()
{
    QStringList languages;
    const QStringList files = QDir(QLatin1String(translationFolder))
                                  .entryList({QLatin1String(filePrefix) + QLatin1String("*.qm")});
    for (const QString &file : files)
        languages << file.mid(int(qstrlen(filePrefix))).chopped(3);
    return languages;
}

QString Translations::choose(const QStringList &uiLanguages, const QStringList &available)
{
    for (const QString &name : uiLanguages) {
        const QLocale wanted(name);
        if (wanted.language() == QLocale::C)
            continue;
        if (wanted.language() == QLocale::English)
            return QString();
        QString match;
        for (const QString &language : available) {
            const QLocale offered(language);
            if (!sameLanguage(wanted, offered))
                continue;
            // A regional variant the user does not ask for still beats none.
            if (match.isEmpty() || offered.country() == wanted.country())
                match = language;
        }
        if (!match.isEmpty())
            return match;
    }
    return QString();
}

QString Translations::install(QCoreApplication *app, const QStringList &uiLanguages)
{
    const QString language = choose(uiLanguages, available());
    auto *translator = language.isEmpty() ? nullptr : new QTranslator(app);
    if (translator && !translator->load(QLatin1String(filePrefix) + language, QLatin1String(translationFolder))) {
        delete translator;
        translator = nullptr;
    }
    // The window picks the release notes of its own language.
    QLocale::setDefault(translator ? QLocale(language) : QLocale(QLocale::English));
    if (!translator)
        return QString();
    app->installTranslator(translator);
    // Qt would turn the layout only once the event loop delivers the change
    // of language, after the window has placed its widgets.
    const bool rightToLeft = translator->translate("QGuiApplication", layoutDirection.source,
                                                   layoutDirection.comment) == QLatin1String("RTL");
    QGuiApplication::setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    return language;
}
