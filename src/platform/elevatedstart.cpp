#include "elevatedstart.h"

#include <QDir>

#ifdef Q_OS_WIN
#include <QWinEventNotifier>

#include <windows.h>

#include <shellapi.h>
#endif

ElevatedStart::ElevatedStart(QObject *parent)
    : QObject(parent)
{
}

#ifdef Q_OS_WIN

ElevatedStart::~ElevatedStart()
{
    if (process)
        CloseHandle(process);
}

void ElevatedStart::start(const QString &program, const QStringList &arguments)
{
    const QString file = QDir::toNativeSeparators(program);
    const QString parameters = arguments.join(QLatin1Char(' '));
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // No message box of the shell's own: the updater says what happened.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"runas";
    info.lpFile = reinterpret_cast<const wchar_t *>(file.utf16());
    info.lpParameters = reinterpret_cast<const wchar_t *>(parameters.utf16());
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info) || !info.hProcess) {
        const DWORD error = GetLastError();
        return finish(error == ERROR_CANCELLED ? Outcome::Declined : Outcome::Failed,
                      QStringLiteral("%1 did not start: system error %2").arg(file).arg(error));
    }
    process = info.hProcess;
    notifier = new QWinEventNotifier(process, this);
    connect(notifier, &QWinEventNotifier::activated, this, &ElevatedStart::onEnded);
}

void ElevatedStart::onEnded()
{
    notifier->setEnabled(false);
    DWORD exit = 0;
    if (!GetExitCodeProcess(process, &exit))
        return finish(Outcome::Failed, QStringLiteral("its exit code: system error %1").arg(GetLastError()));
    code = exit;
    finish(Outcome::Ended);
}

#else

ElevatedStart::~ElevatedStart() = default;

// Nothing here elevates: a folder the user may not write stays as it is.
void ElevatedStart::start(const QString &program, const QStringList &)
{
    QMetaObject::invokeMethod(this, [this, program] {
        finish(Outcome::Failed, QStringLiteral("%1: no elevation on this system").arg(program));
    }, Qt::QueuedConnection);
}

void ElevatedStart::onEnded()
{
}

#endif

void ElevatedStart::finish(Outcome outcome, const QString &error)
{
    result = outcome;
    this->error = error;
    emit finished();
}
