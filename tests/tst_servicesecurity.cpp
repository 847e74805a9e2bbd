// What the service and its folder allow, read back from the descriptors as
// Windows parses them: wine runs every program as one user and enforces
// none of it, so these rows are what shows the boundary.
#include "servicesecurity.h"

#include <QtTest>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace {

struct Descriptor
{
    PSECURITY_DESCRIPTOR data = nullptr;
    explicit Descriptor(const wchar_t *sddl)
    {
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &data, nullptr);
    }
    ~Descriptor() { LocalFree(data); }
};

QByteArray wellKnownSid(WELL_KNOWN_SID_TYPE type)
{
    QByteArray sid(SECURITY_MAX_SID_SIZE, '\0');
    DWORD size = DWORD(sid.size());
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size))
        return QByteArray();
    sid.truncate(int(size));
    return sid;
}

// Every right that the descriptor's allowing entries give to one trustee.
ACCESS_MASK rightsOf(PSECURITY_DESCRIPTOR descriptor, const QByteArray &trustee)
{
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl)
        return ~ACCESS_MASK(0); // no list at all lets everyone do everything
    ACCESS_MASK granted = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void *ace = nullptr;
        if (!GetAce(dacl, i, &ace))
            continue;
        const auto *header = static_cast<ACE_HEADER *>(ace);
        const auto *allowed = static_cast<ACCESS_ALLOWED_ACE *>(ace);
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE
            && EqualSid(PSID(&allowed->SidStart), PSID(const_cast<char *>(trustee.constData()))))
            granted |= allowed->Mask;
    }
    return granted;
}

constexpr ACCESS_MASK serviceControl = SERVICE_STOP | SERVICE_PAUSE_CONTINUE | SERVICE_CHANGE_CONFIG
                                       | SERVICE_USER_DEFINED_CONTROL | DELETE | WRITE_DAC | WRITE_OWNER;
constexpr ACCESS_MASK folderWriting = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA
                                      | FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_WRITE_ATTRIBUTES
                                      | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;

} // namespace

class tst_ServiceSecurity : public QObject
{
    Q_OBJECT

private slots:
    void rights_data();
    void rights();
    void folderIsTheAdministratorsAndInheritsNothing();
};

void tst_ServiceSecurity::rights_data()
{
    QTest::addColumn<bool>("ofService");
    QTest::addColumn<int>("trustee");
    QTest::addColumn<quint32>("required");
    QTest::addColumn<quint32>("forbidden");

    const quint32 none = 0;
    QTest::newRow("a signed-in user starts the service and asks its state")
        << true << int(WinInteractiveSid) << quint32(SERVICE_START | SERVICE_QUERY_STATUS) << quint32(serviceControl);
    QTest::newRow("administrators do anything with the service")
        << true << int(WinBuiltinAdministratorsSid) << quint32(SERVICE_ALL_ACCESS) << none;
    QTest::newRow("a user who is not signed in at the PC gets nothing")
        << true << int(WinAuthenticatedUserSid) << none << ~none;
    QTest::newRow("everyone else gets nothing of the service")
        << true << int(WinWorldSid) << none << ~none;
    QTest::newRow("users read the folder and write nothing in it")
        << false << int(WinBuiltinUsersSid) << quint32(GENERIC_READ) << quint32(folderWriting);
    QTest::newRow("a signed-in user writes nothing in the folder")
        << false << int(WinInteractiveSid) << none << quint32(folderWriting);
    QTest::newRow("everyone writes nothing in the folder")
        << false << int(WinWorldSid) << none << quint32(folderWriting);
    QTest::newRow("the system writes in the folder")
        << false << int(WinLocalSystemSid) << quint32(GENERIC_ALL) << none;
}

void tst_ServiceSecurity::rights()
{
    QFETCH(bool, ofService);
    QFETCH(int, trustee);
    QFETCH(quint32, required);
    QFETCH(quint32, forbidden);

    const Descriptor descriptor(ofService ? ServiceSecurity::serviceAccess : ServiceSecurity::folderAccess);
    QVERIFY2(descriptor.data, "Windows does not parse the descriptor");
    const QByteArray sid = wellKnownSid(WELL_KNOWN_SID_TYPE(trustee));
    QVERIFY(!sid.isEmpty());
    const ACCESS_MASK granted = rightsOf(descriptor.data, sid);
    QVERIFY2((granted & required) == required, qPrintable(QString::number(granted, 16) + " lacks a right"));
    QVERIFY2((granted & forbidden) == 0, qPrintable(QString::number(granted & forbidden, 16) + " given"));
}

// Owned by the administrators, a user cannot rewrite the list; protected,
// nothing that the folder above allows reaches it.
void tst_ServiceSecurity::folderIsTheAdministratorsAndInheritsNothing()
{
    const Descriptor descriptor(ServiceSecurity::folderAccess);
    QVERIFY(descriptor.data);
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    QVERIFY(GetSecurityDescriptorOwner(descriptor.data, &owner, &defaulted));
    const QByteArray administrators = wellKnownSid(WinBuiltinAdministratorsSid);
    QVERIFY2(owner && EqualSid(owner, PSID(const_cast<char *>(administrators.constData()))),
             "the folder is not the administrators'");
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    QVERIFY(GetSecurityDescriptorControl(descriptor.data, &control, &revision));
    QVERIFY2(control & SE_DACL_PROTECTED, "the folder inherits from the one above");
}

QTEST_MAIN(tst_ServiceSecurity)
#include "tst_servicesecurity.moc"
