#ifndef TESTWAITS_H
#define TESTWAITS_H

// What the tests share about their environment: how long they wait for an
// event, and what they do where the machine lacks what they need.

#include <QtTest>

// An awaited event gets a ceiling far above what a busy machine takes to
// bring it (Qt's default is 5 s): on a slow machine a test takes longer, it
// does not fail. Included after <QtTest>, it gives every QTRY_ macro that
// ceiling.
constexpr int awaitCeilingMsecs = 120000;

#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT((expr), awaitCeilingMsecs)
#undef QTRY_VERIFY2
#define QTRY_VERIFY2(expr, messageExpression) \
    QTRY_VERIFY2_WITH_TIMEOUT((expr), (messageExpression), awaitCeilingMsecs)
#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT((expr), (expected), awaitCeilingMsecs)

/// Whether this runs in CI (CI set, and not to false or 0), where nothing
/// may go unchecked.
inline bool runsInCi()
{
    const QByteArray ci = qgetenv("CI");
    return !ci.isEmpty() && ci != "false" && ci != "0";
}

/// Skips where this machine lacks what the test needs (\a missing says what);
/// in CI fails instead, naming it. The Windows build, under wine, cannot
/// reach those tools and mounts of the Linux machine (minisign, tinyproxy, a
/// mount); it skips the same rows that the Linux build runs, and fails in CI
/// without, from the same source.
#ifdef Q_OS_WIN
#define SKIP_WHERE_MISSING(missing) QSKIP(missing " (the Linux build runs this)")
#else
#define SKIP_WHERE_MISSING(missing)                                                                \
    do {                                                                                           \
        if (runsInCi())                                                                            \
            QFAIL("this machine lacks what the test needs, and CI skips nothing: " missing);       \
        QSKIP(missing);                                                                            \
    } while (false)
#endif

#endif // TESTWAITS_H
