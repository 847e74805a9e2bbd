// A fuzz target as an ordinary test: every input of the folders it is given
// (a target's seeds and the findings kept among them) goes through the
// target once. A check that fails aborts the run, which fails the test.
#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        QDirIterator it(QString::fromLocal8Bit(argv[i]), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            inputs << it.next();
    }
    inputs.sort();
    // An empty corpus would pass without a single input.
    if (inputs.isEmpty() || LLVMFuzzerInitialize(&argc, &argv) != 0) {
        std::fprintf(stderr, "no inputs, or the target could not set itself up\n");
        return 1;
    }
    for (const QString &path : qAsConst(inputs)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::printf("%s\n", qPrintable(path));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%d inputs replayed\n", int(inputs.size()));
    return 0;
}
