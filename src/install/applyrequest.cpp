#include "applyrequest.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextCodec>

namespace {

const QByteArray header = "brenvoth-apply 1\n";
const QByteArray stagedKey = "staged ";
const QByteArray restoreLine = "restore";
const QByteArray passedLine = "passed";
const QByteArray nonceKey = "nonce ";
const QByteArray trialKeyKey = "key ";
constexpr int tokenBytes = 16;

// Takes "<key><token>" off the end of \a lines, where it is.
QByteArray takeToken(QList<QByteArray> *lines, const QByteArray &key)
{
    static const QRegularExpression token(QStringLiteral("^[0-9a-f]{%1}$").arg(2 * tokenBytes));
    if (lines->size() < 2 || !lines->last().startsWith(key)
        || !token.match(QString::fromLatin1(lines->last().mid(key.size()))).hasMatch())
        return QByteArray();
    return lines->takeLast().mid(key.size());
}

bool isAbsoluteLocal(const QString &path)
{
#ifdef Q_OS_WIN
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]"));
    return drive.match(path).hasMatch();
#else
    return path.startsWith(QLatin1Char('/')) && !path.startsWith(QLatin1String("//"));
#endif
}

QString refusalOf(const QString &path)
{
    if (path.size() > ApplyRequest::maxPathLength)
        return QStringLiteral("the path is longer than %1 characters").arg(ApplyRequest::maxPathLength);
    for (const QChar c : path) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return QStringLiteral("the path holds a control character");
    }
    if (!isAbsoluteLocal(path))
        return QStringLiteral("not an absolute path on a local drive");
    // Beyond a drive's colon: no stream, no wildcard, nothing Windows reads
    // other than as a name.
    static const QRegularExpression special(QStringLiteral("[:*?\"<>|]"));
    if (path.indexOf(special, 2) >= 0)
        return QStringLiteral("the path holds one of : * ? \" < > |");
    static const QRegularExpression separators(QStringLiteral("[\\\\/]"));
    const QStringList steps = path.split(separators);
    for (int i = 1; i < steps.size(); ++i) {
        if (steps.at(i).isEmpty() || steps.at(i) == QLatin1String(".") || steps.at(i) == QLatin1String(".."))
            return QStringLiteral("the path has an empty, \".\" or \"..\" step");
    }
    return QString();
}

QString refusalOfStaged(const QByteArray &line, QString *path)
{
    QTextCodec::ConverterState state;
    *path = QTextCodec::codecForName("UTF-8")->toUnicode(line.constData() + qMin(line.size(), stagedKey.size()),
                                                         qMax(0, line.size() - stagedKey.size()), &state);
    if (!line.startsWith(stagedKey) || state.invalidChars > 0 || state.remainingChars > 0)
        return QStringLiteral("the request names no staged folder in UTF-8");
    return refusalOf(*path);
}

} // namespace

QByteArray ApplyRequest::newToken()
{
    QByteArray random(tokenBytes, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(random.data()), tokenBytes / 4);
    return random.toHex();
}

QByteArray ApplyRequest::toBytes() const
{
    const QByteArray action = kind == Kind::Restore ? restoreLine
                              : kind == Kind::Passed ? passedLine
                                                     : stagedKey + stagedDir.toUtf8();
    return header + action + '\n' + (nonce.isEmpty() ? QByteArray() : nonceKey + nonce + '\n')
           + (trialKey.isEmpty() ? QByteArray() : trialKeyKey + trialKey + '\n');
}

bool ApplyRequest::parse(const QByteArray &bytes, ApplyRequest *request, QString *reason)
{
    if (bytes.size() > maxBytes || !bytes.startsWith(header) || !bytes.endsWith('\n')) {
        *reason = QStringLiteral("not a request of this updater");
        return false;
    }
    QList<QByteArray> lines = bytes.mid(header.size(), bytes.size() - header.size() - 1).split('\n');
    ApplyRequest parsed;
    parsed.trialKey = takeToken(&lines, trialKeyKey);
    parsed.nonce = takeToken(&lines, nonceKey);
    if (lines.size() != 1) {
        *reason = QStringLiteral("the request holds more than what it asks, a nonce and a key");
        return false;
    }
    const QByteArray &action = lines.first();
    if (action == restoreLine || action == passedLine) {
        parsed.kind = action == restoreLine ? Kind::Restore : Kind::Passed;
        *reason = parsed.trialKey.isEmpty() ? QStringLiteral("the request names no trial key") : QString();
    } else {
        *reason = refusalOfStaged(action, &parsed.stagedDir);
    }
    if (!reason->isEmpty())
        return false;
    *request = parsed;
    return true;
}

bool ApplyRequest::names(const QString &expected) const
{
    return QDir::fromNativeSeparators(stagedDir).compare(QDir::fromNativeSeparators(expected), Qt::CaseInsensitive) == 0;
}
