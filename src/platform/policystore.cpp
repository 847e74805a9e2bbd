#include "policystore.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <vector>
#endif

namespace {

// As the registry would hold it: whole numbers from 0 to 2^32 - 1 are DWORDs.
QVariant storedValue(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    const double number = value.toDouble(-1);
    if (value.isDouble() && number >= 0 && number <= 4294967295.0 && number == static_cast<quint32>(number))
        return static_cast<uint>(number);
    return QVariant();
}

#ifdef Q_OS_WIN
QVariant storedValue(DWORD type, const std::vector<BYTE> &data, DWORD size)
{
    if (type == REG_DWORD && size == sizeof(DWORD))
        return static_cast<uint>(*reinterpret_cast<const DWORD *>(data.data()));
    if (type != REG_SZ)
        return QVariant();
    QString text = QString::fromWCharArray(reinterpret_cast<const wchar_t *>(data.data()), size / sizeof(wchar_t));
    // The registry may or may not keep the terminating null.
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

// The 64-bit view: the same key for this program and the templates' editor.
QVariantMap readRegistry(const wchar_t *keyPath)
{
    QVariantMap values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return values;
    DWORD count = 0, longestName = 0, largestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                         &largestData, nullptr, nullptr) == ERROR_SUCCESS) {
        std::vector<wchar_t> name(longestName + 1);
        std::vector<BYTE> data(largestData + sizeof(wchar_t));
        for (DWORD i = 0; i < count; ++i) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD size = largestData;
            DWORD type = 0;
            if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
                values.insert(QString::fromWCharArray(name.data(), nameLength), storedValue(type, data, size));
        }
    }
    RegCloseKey(key);
    return values;
}
#endif

} // namespace

namespace PolicyStore {

QVariantMap readMachine()
{
#ifdef Q_OS_WIN
    return readRegistry(L"SOFTWARE\\Policies\\Brenvoth\\Updater");
#else
    return readFile(QStringLiteral(BRENVOTH_POLICY_FILE));
#endif
}

QVariantMap readFile(const QString &path)
{
    QVariantMap values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto member = object.begin(); member != object.end(); ++member)
        values.insert(member.key(), storedValue(member.value()));
    return values;
}

} // namespace PolicyStore
