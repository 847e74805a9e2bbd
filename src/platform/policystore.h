#ifndef POLICYSTORE_H
#define POLICYSTORE_H

#include <QString>
#include <QVariantMap>

/// Where an administrator's settings for the updater are kept, which only
/// administrators can write: on Windows the values of
/// HKLM\SOFTWARE\Policies\Brenvoth\Updater, elsewhere (where only tests run)
/// the members of a JSON object in a file the build names. Each value as
/// stored: a number a DWORD holds as uint, a string as QString, any other
/// kind as an invalid QVariant. It knows no setting's meaning.
namespace PolicyStore {

/// The machine's values; empty where none are set.
QVariantMap readMachine();

/// The members of the JSON object in the file at \a path; empty when there
/// is no such file or it holds no object.
QVariantMap readFile(const QString &path);

} // namespace PolicyStore

#endif // POLICYSTORE_H
