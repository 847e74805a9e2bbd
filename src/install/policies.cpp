#include "policies.h"
#include "policystore.h"

#include <QDebug>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QString updatesDisabledName = QStringLiteral("UpdatesDisabled");
const QString targetPrefixName = QStringLiteral("TargetVersionPrefix");
const QString rollbackName = QStringLiteral("RollbackToTargetVersion");
const QString updateServerName = QStringLiteral("UpdateServer");
const QString allowHttpName = QStringLiteral("AllowHttpUpdateServer");

// The DWORDs that switch something on: 1 on, 0 or absent off.
bool readSwitch(const QVariantMap &values, const QString &name, QStringList *ignored)
{
    if (!values.contains(name))
        return false;
    const QVariant value = values.value(name);
    if (value.type() == QVariant::UInt && value.toUInt() <= 1)
        return value.toUInt() == 1;
    ignored->append(QStringLiteral("%1 ignored: not a DWORD of 0 or 1").arg(name));
    return false;
}

// A version's beginning, as brenvoth-release writes versions.
QString readPrefix(const QVariantMap &values, QStringList *ignored)
{
    if (!values.contains(targetPrefixName))
        return QString();
    const QVariant value = values.value(targetPrefixName);
    static const QRegularExpression versionStart(QStringLiteral("\\A[0-9A-Za-z._+-]{1,64}\\z"));
    if (value.type() == QVariant::String && versionStart.match(value.toString()).hasMatch())
        return value.toString();
    ignored->append(QStringLiteral("%1 ignored: not a string of 1 to 64 letters, digits and . _ + -")
                        .arg(targetPrefixName));
    return QString();
}

// A folder's address with nothing of a login, a query or a fragment in it.
QString readServer(const QVariantMap &values, bool allowHttp, QStringList *ignored)
{
    if (!values.contains(updateServerName))
        return QString();
    const QVariant value = values.value(updateServerName);
    const QUrl url(value.toString(), QUrl::StrictMode);
    const bool https = url.scheme() == QLatin1String("https");
    const bool http = url.scheme() == QLatin1String("http");
    if (value.type() == QVariant::String && url.isValid() && (https || (http && allowHttp))
        && !url.host().isEmpty() && url.userInfo().isEmpty() && !url.hasQuery() && !url.hasFragment()) {
        const QString base = url.toString(QUrl::FullyEncoded);
        return base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/');
    }
    ignored->append(http && !allowHttp && value.type() == QVariant::String
                        ? QStringLiteral("%1 ignored: a plain http address needs %2 = 1").arg(updateServerName, allowHttpName)
                        : QStringLiteral("%1 ignored: not an https address of a folder").arg(updateServerName));
    return QString();
}

} // namespace

QStringList Policies::valueNames()
{
    return {updatesDisabledName, targetPrefixName, rollbackName, updateServerName, allowHttpName};
}

Policies Policies::fromValues(const QVariantMap &values, QStringList *ignored)
{
    for (auto value = values.begin(); value != values.end(); ++value) {
        if (!valueNames().contains(value.key()))
            ignored->append(QStringLiteral("%1 ignored: the updater knows no such value").arg(value.key()));
    }
    Policies policies;
    policies.updatesDisabled = readSwitch(values, updatesDisabledName, ignored);
    policies.target.prefix = readPrefix(values, ignored);
    policies.target.rollback = readSwitch(values, rollbackName, ignored);
    if (policies.target.rollback && policies.target.prefix.isEmpty()) {
        ignored->append(QStringLiteral("%1 ignored: it needs %2").arg(rollbackName, targetPrefixName));
        policies.target.rollback = false;
    }
    policies.updateServer = readServer(values, readSwitch(values, allowHttpName, ignored), ignored);
    return policies;
}

Policies Policies::ofThisMachine()
{
    QStringList ignored;
    const Policies policies = fromValues(PolicyStore::readMachine(), &ignored);
    for (const QString &line : qAsConst(ignored))
        qDebug().noquote() << QStringLiteral("Administrator's policy %1").arg(line);
    return policies;
}
