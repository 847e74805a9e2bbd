#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: quiet Qt, the input as bytes, and a check
// that stops the run as a finding.

/// Stops the run with \a why when \a condition fails, so that libFuzzer
/// keeps the input as a crash.
#define FUZZ_CHECK(condition, why)                                                   \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "fuzz check failed: %s (%s)\n", why, #condition);   \
            std::abort();                                                            \
        }                                                                            \
    } while (false)

/// Qt's debug output costs more than most inputs and says nothing here.
inline void silenceQt()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

/// The input as fields: the parts between \a separator, as many as there are.
inline QList<QByteArray> fieldsOf(const uint8_t *data, size_t size, char separator)
{
    return bytesOf(data, size).split(separator);
}

#endif // FUZZSUPPORT_H
