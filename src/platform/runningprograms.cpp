#include "runningprograms.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#include <tlhelp32.h>

#include <vector>
#else
#include <QDirIterator>
#include <QFile>
#endif

#ifdef Q_OS_WIN
namespace {

// A path as Windows compares them: no prefix, one kind of separator, any case.
QString comparable(const QString &path)
{
    QString plain = QDir::fromNativeSeparators(path);
    if (plain.startsWith(QLatin1String("//?/UNC/")))
        plain = QLatin1Char('/') + plain.mid(7);
    else if (plain.startsWith(QLatin1String("//?/")))
        plain = plain.mid(4);
    return QDir::cleanPath(plain).toLower();
}

} // namespace

QString WindowsFiles::imageOf(DWORD processId)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return QString();
    std::vector<wchar_t> buffer(32768);
    DWORD size = DWORD(buffer.size());
    const bool known = QueryFullProcessImageNameW(process, 0, buffer.data(), &size);
    CloseHandle(process);
    return known ? QString::fromWCharArray(buffer.data(), int(size)) : QString();
}

bool WindowsFiles::isRunning(const QString &executable)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    const QString wanted = comparable(executable);
    const QString wantedName = QFileInfo(executable).fileName();
    PROCESSENTRY32W process;
    process.dwSize = sizeof process;
    bool running = false;
    // Only a process of the same name is asked for its path.
    for (bool more = Process32FirstW(snapshot, &process); more && !running;
         more = Process32NextW(snapshot, &process)) {
        running = QString::fromWCharArray(process.szExeFile).compare(wantedName, Qt::CaseInsensitive) == 0
                  && comparable(imageOf(process.th32ProcessID)) == wanted;
    }
    CloseHandle(snapshot);
    return running;
}

#else

bool WindowsFiles::isRunning(const QString &executable)
{
    const QString wanted = QFileInfo(executable).canonicalFilePath();
    if (wanted.isEmpty())
        return false;
    QDirIterator processes(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (processes.hasNext()) {
        if (QFile::symLinkTarget(processes.next() + QStringLiteral("/exe")) == wanted)
            return true;
    }
    return false;
}

#endif
