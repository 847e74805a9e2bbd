#include "applyrequest.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextCodec>

namespace {

const QByteArray header = "brenvoth-apply 1\n";
const QByteArray stagedKey = "staged ";
const QByteArray nonceKey = "nonce ";
constexpr int nonceBytes = 16;

bool isNonceLine(const QByteArray &line)
{
    static const QRegularExpression nonce(QStringLiteral("^nonce [0-9a-f]{%1}$").arg(2 * nonceBytes));
    return nonce.match(QString::fromLatin1(line)).hasMatch();
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

} // namespace

QByteArray ApplyRequest::newNonce()
{
    QByteArray random(nonceBytes, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(random.data()), nonceBytes / 4);
    return random.toHex();
}

QByteArray ApplyRequest::toBytes() const
{
    return header + stagedKey + stagedDir.toUtf8() + '\n' + (nonce.isEmpty() ? QByteArray() : nonceKey + nonce + '\n');
}

bool ApplyRequest::parse(const QByteArray &bytes, ApplyRequest *request, QString *reason)
{
    if (bytes.size() > maxBytes || !bytes.startsWith(header) || !bytes.endsWith('\n')) {
        *reason = QStringLiteral("not a request of this updater");
        return false;
    }
    QByteArray line = bytes.mid(header.size(), bytes.size() - header.size() - 1);
    const int nonceLine = line.indexOf('\n') + 1;
    const QByteArray nonce = nonceLine > 0 ? line.mid(nonceLine) : QByteArray();
    if (nonceLine > 0 && !isNonceLine(nonce)) {
        *reason = QStringLiteral("the request holds more than a staged folder and a nonce");
        return false;
    }
    if (nonceLine > 0)
        line.truncate(nonceLine - 1);
    QTextCodec::ConverterState state;
    const QString path = QTextCodec::codecForName("UTF-8")->toUnicode(line.constData() + qMin(line.size(), stagedKey.size()),
                                                                       qMax(0, line.size() - stagedKey.size()), &state);
    if (!line.startsWith(stagedKey) || state.invalidChars > 0 || state.remainingChars > 0) {
        *reason = QStringLiteral("the request names no staged folder in UTF-8");
        return false;
    }
    *reason = refusalOf(path);
    if (!reason->isEmpty())
        return false;
    request->stagedDir = path;
    request->nonce = nonce.mid(nonceKey.size());
    return true;
}

bool ApplyRequest::names(const QString &expected) const
{
    return QDir::fromNativeSeparators(stagedDir).compare(QDir::fromNativeSeparators(expected), Qt::CaseInsensitive) == 0;
}
