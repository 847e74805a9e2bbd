#ifndef PSEUDOTRANSLATOR_H
#define PSEUDOTRANSLATOR_H

#include <QTranslator>

/// A translation into no language: every text accented and about 40 %
/// longer, its placeholders and tags kept, so that a text that a real
/// translation would cut shows before one arrives.
class PseudoTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    static QString pseudo(const QString &text);

    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override;
};

#endif // PSEUDOTRANSLATOR_H
