#ifndef SYSTEMROOTS_H
#define SYSTEMROOTS_H

#include <QByteArray>
#include <QList>

/// The certificate authorities that Windows trusts to identify servers, as
/// DER: its ROOT store as the user sees it, company roots from group policy
/// included, each one within its validity and allowed for server
/// authentication. Elsewhere none: the system's bundle is for the TLS
/// library to name.
QList<QByteArray> trustedServerRoots();

#endif // SYSTEMROOTS_H
