#ifndef SERVICESECURITY_H
#define SERVICESECURITY_H

/// What the service and its folder allow, as security descriptors in
/// Windows' own notation, handed to Windows at install.
namespace ServiceSecurity {

/// The system and administrators may do anything with the service; a user
/// signed in at the PC may start it, ask its state and read its settings,
/// never stop, pause, change, reconfigure or delete it.
constexpr wchar_t serviceAccess[] = L"D:(A;;CCLCSWRPWPDTLOCRRC;;;SY)(A;;CCDCLCSWRPWPDTLOCRSDRCWDWO;;;BA)"
                                    L"(A;;CCLCSWRPLORC;;;IU)";

/// The service's own folder, owned by the administrators, inheriting
/// nothing: the system and administrators write in it; users read it, so
/// that the updater reads the result, and cannot plant anything there.
constexpr wchar_t folderAccess[] = L"O:BAD:P(A;OICI;GA;;;SY)(A;OICI;GA;;;BA)(A;OICI;GRGX;;;BU)";

} // namespace ServiceSecurity

#endif // SERVICESECURITY_H
