// The signature file as the updater reads it, before anything is verified:
// any bytes, checked against one fixed key and message. An accepted file
// must carry exactly one of the two signatures the real minisign made.
#include "fuzzsupport.h"
#include "minisign.h"

#include <QList>

namespace {

const QByteArray publicKey = "RWQv4bmZ0dlvVyp/YRR1xZhRx21yPKCupDpCg1GOhXcHcnMHIdtSIJzB";
const QByteArray message = "<filelist curVersion=\"2.0.0\">\n"
                           "    <software version=\"2.0.0\" info=\"Faster start-up.\"/>\n"
                           "</filelist>\n";

struct Signature
{
    QByteArray signature;        // base64, as minisign wrote it
    QByteArray trustedComment;
    QByteArray globalSignature;
};

// "minisign -S" (pre-hashed) and "minisign -S -l" (legacy) of the message.
const Signature madeByMinisign[] = {
    {"RUQv4bmZ0dlvV0jIiKuS/5u8piEjZJmA09OfDnXKijojpSp+qvrXBFmO/m9zYR45j6Nh656ZKMdu4MM4ZanK4dQGtGjcLSp4cAw=",
     "timestamp:1796716800\tfile:version.xml\thashed",
     "MYTpFgyHvHxfQq386tH9XfxyNXtRO7SXKPdrmJnSwc2lFFpASI1w4PQOtl+EHwFxWDZGTPAZuYBBvIT/zjBaBA=="},
    {"RWQv4bmZ0dlvV6mxVN8RmHhQdkx3DhxCw9WHImkI0fQkHwNoCekYQHwO2wFhH3Soxa7nazaOReWTIWrvPEBEbYhKm9pLfIKsAwQ=",
     "timestamp:1796716800\tfile:version.xml",
     "pKErusYls/3vwDfZ+T8Bgf7o+V9348Di3P8ampyc8GXloL+ucczezm9CLy1Othlp6uO9WLJQ5hU/g+HxUPi+Cw=="},
};

// Compared decoded, by Qt's own base64: the text may differ in unused bits.
bool isMadeByMinisign(const QList<QByteArray> &lines)
{
    const QByteArray trusted = lines.at(2).mid(int(qstrlen("trusted comment: ")));
    for (const Signature &known : madeByMinisign) {
        if (QByteArray::fromBase64(lines.at(1)) == QByteArray::fromBase64(known.signature)
            && trusted == known.trustedComment
            && QByteArray::fromBase64(lines.at(3)) == QByteArray::fromBase64(known.globalSignature))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray signatureFile = bytesOf(data, size);
    QString reason;
    if (!Minisign::verify(publicKey, message, signatureFile, &reason)) {
        FUZZ_CHECK(!reason.isEmpty(), "a refused signature has no reason");
        return 0;
    }
    QList<QByteArray> lines = signatureFile.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    FUZZ_CHECK(lines.size() >= 4 && isMadeByMinisign(lines), "a signature the key never made is accepted");
    return 0;
}
