// The request that the side applying a per-machine release reads from
// whoever asks, with more rights than they have: any bytes. An accepted
// request to apply names one plain absolute path, within its limits, with
// no step that leads elsewhere; one to restore or drop the kept release
// names no path and carries a trial key; each reads back the same when
// written again.
#include "applyrequest.h"
#include "fuzzsupport.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ApplyRequest request;
    QString reason;
    if (!ApplyRequest::parse(bytesOf(data, size), &request, &reason)) {
        FUZZ_CHECK(!reason.isEmpty(), "a refusal has a reason");
        return 0;
    }
    const QString path = request.stagedDir;
    ApplyRequest again;
    FUZZ_CHECK(ApplyRequest::parse(request.toBytes(), &again, &reason) && again.kind == request.kind
                   && again.stagedDir == path && again.nonce == request.nonce && again.trialKey == request.trialKey,
               "written again, it reads back the same");
    if (request.kind != ApplyRequest::Kind::Apply) {
        FUZZ_CHECK(path.isEmpty() && !request.trialKey.isEmpty(), "a restore or a drop names no path, only its key");
        return 0;
    }
    FUZZ_CHECK(!path.isEmpty() && path.size() <= ApplyRequest::maxPathLength, "the path is within its limits");
    FUZZ_CHECK(!path.startsWith(QLatin1String("\\\\")) && !path.startsWith(QLatin1String("//")),
               "no UNC or device path");
    const QStringList steps = path.split(QRegularExpression(QStringLiteral("[\\\\/]")));
    for (int i = 1; i < steps.size(); ++i)
        FUZZ_CHECK(!steps.at(i).isEmpty() && steps.at(i) != QLatin1String("..") && steps.at(i) != QLatin1String("."),
                   "no step leads elsewhere");
    FUZZ_CHECK(!path.contains(QChar(0)) && !path.contains(QLatin1Char('\n')), "no control character");
    return 0;
}
