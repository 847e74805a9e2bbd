#include "pseudotranslator.h"

#include <QtMath>

namespace {

const QString plain = QStringLiteral("aceinosuyAEINOSUY");
const QString accented = QString::fromUtf8("àçéîñöšûýÀÉÎÑÖŠÛÝ");

} // namespace

QString PseudoTranslator::pseudo(const QString &text)
{
    QString result;
    int shown = 0;
    bool inTag = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        inTag = inTag || c == QLatin1Char('<');
        if (inTag) {
            result += c;
            inTag = c != QLatin1Char('>');
        } else if (c == QLatin1Char('%') && i + 1 < text.size()) {
            result += text.mid(i++, 2);   // %1, %n: left for arg() and the count
        } else {
            const int index = plain.indexOf(c);
            result += index >= 0 ? accented.at(index) : c;
            ++shown;
        }
    }
    // The brackets count towards the 40 %.
    return QLatin1Char('[') + result + QString(qMax(0, qCeil(shown * 0.4) - 2), QChar(0x00b7))
         + QLatin1Char(']');
}

QString PseudoTranslator::translate(const char *context, const char *sourceText,
                                    const char *disambiguation, int n) const
{
    Q_UNUSED(disambiguation);
    Q_UNUSED(n);
    if (qstrcmp(context, "QGuiApplication") == 0)
        return QString();
    return pseudo(QString::fromUtf8(sourceText));
}
