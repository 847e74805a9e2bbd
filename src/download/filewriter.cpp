#include "filewriter.h"
#include "durablefiles.h"
#include "sha256.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>
#include <QWaitCondition>

#include <deque>

namespace {

struct Step
{
    enum Kind { Keep, Append, Finish };
    Kind kind = Append;
    QByteArray bytes;    // to append
    qint64 kept = 0;     // bytes to keep
    bool check = false;  // at the finish
};

} // namespace

// What the writer and the pool thread that runs its steps share. The pool
// thread holds it too, so that it outlives a writer destroyed meanwhile.
struct FileWriter::Work : std::enable_shared_from_this<FileWriter::Work>
{
    Work(FileWriter *owner, std::unique_ptr<QFile> file, const Expected &expected, qint64 limit)
        : owner(owner), file(std::move(file)), expected(expected), limit(limit)
    {
    }

    void schedule(Step step);
    void schedule();
    void run();
    void perform(const Step &step);
    void keep(qint64 bytes);
    bool hashFirst(qint64 bytes);
    void write(const QByteArray &bytes);
    Outcome close(bool check);
    Outcome conclude(bool check);
    void report(const Step &step, bool brokeNow);

    QMutex mutex;                    // guards the members up to `file`
    QWaitCondition stepDone;
    std::deque<Step> steps;
    qint64 waiting = 0;              // bytes appended and not yet written
    bool running = false;            // a pool thread takes the steps, or is about to
    bool busy = false;               // it performs one
    bool refused = false;
    FileWriter *owner;               // null once the writer is gone

    // The pool thread's while `busy`, else the writer's.
    std::unique_ptr<QFile> file;
    const Expected expected;
    const qint64 limit;
    Sha256 digest;
    qint64 length = 0;
    bool broken = false;
    Outcome outcome = Outcome::Complete;
};

FileWriter::FileWriter(std::unique_ptr<QFile> file, const Expected &expected, qint64 limit)
    : work(std::make_shared<Work>(this, std::move(file), expected, limit))
{
    qRegisterMetaType<FileWriter::Outcome>();
}

// A pool thread yet to start finds nothing left to do.
FileWriter::~FileWriter()
{
    QMutexLocker lock(&work->mutex);
    work->owner = nullptr;
    work->steps.clear();
    while (work->busy)
        work->stepDone.wait(&work->mutex);
    lock.unlock();
    work->file.reset();
}

void FileWriter::keepFirst(qint64 bytes)
{
    Step step;
    step.kind = Step::Keep;
    step.kept = bytes;
    QMutexLocker lock(&work->mutex);
    work->schedule(std::move(step));
}

bool FileWriter::append(const char *data, qint64 size)
{
    QMutexLocker lock(&work->mutex);
    if (work->waiting > 0 && work->waiting + size > work->limit) {
        work->refused = true;
        work->schedule();
        return false;
    }
    work->waiting += size;
    // What the pool thread has not taken yet goes out in one write.
    if (work->steps.empty() || work->steps.back().kind != Step::Append)
        work->steps.emplace_back();
    work->steps.back().bytes.append(data, int(size));
    // Waking a pool thread for every piece libcurl hands over cost more
    // than writing it.
    if (work->waiting >= work->limit / 4)
        work->schedule();
    return true;
}

void FileWriter::submit()
{
    QMutexLocker lock(&work->mutex);
    work->schedule();
}

// A failed transfer whose bytes are all written has nothing left to write
// or flush: it is told at once, so that transfers that fail together are
// told in the order libcurl ended them.
void FileWriter::finish(bool check)
{
    QMutexLocker lock(&work->mutex);
    if (!check && !work->running && work->steps.empty()) {
        lock.unlock();
        const Outcome outcome = work->close(false);
        emit finished(outcome, work->length);
        return;
    }
    Step step;
    step.kind = Step::Finish;
    step.check = check;
    work->schedule(std::move(step));
}

// With the mutex held.
void FileWriter::Work::schedule(Step step)
{
    steps.push_back(std::move(step));
    schedule();
}

// With the mutex held.
void FileWriter::Work::schedule()
{
    if (running || steps.empty())
        return;
    running = true;
    QThreadPool::globalInstance()->start([self = shared_from_this()] { self->run(); });
}

void FileWriter::Work::run()
{
    QMutexLocker lock(&mutex);
    while (!steps.empty()) {
        const Step step = std::move(steps.front());
        steps.pop_front();
        const bool wasBroken = broken;
        busy = true;
        lock.unlock();
        perform(step);
        lock.relock();
        busy = false;
        stepDone.wakeAll();
        if (step.kind == Step::Append)
            waiting -= step.bytes.size();
        if (owner)
            report(step, broken && !wasBroken);
    }
    running = false;
}

// With the mutex held. Posted to the writer, whose destruction drops what
// has not been delivered yet.
void FileWriter::Work::report(const Step &step, bool brokeNow)
{
    FileWriter *writer = owner;
    if (brokeNow)
        QMetaObject::invokeMethod(writer, [writer] { emit writer->failed(); }, Qt::QueuedConnection);
    // Half the limit: the line refills while the rest is written.
    if (refused && waiting <= limit / 2) {
        refused = false;
        QMetaObject::invokeMethod(writer, [writer] { emit writer->resumable(); }, Qt::QueuedConnection);
    }
    if (step.kind == Step::Finish) {
        QMetaObject::invokeMethod(writer, [writer, result = outcome, size = length] {
            emit writer->finished(result, size);
        }, Qt::QueuedConnection);
    }
}

void FileWriter::Work::perform(const Step &step)
{
    switch (step.kind) {
    case Step::Keep:
        keep(step.kept);
        break;
    case Step::Append:
        write(step.bytes);
        break;
    case Step::Finish:
        outcome = close(step.check);
        break;
    }
}

void FileWriter::Work::keep(qint64 bytes)
{
    broken = broken || !file->resize(bytes) || !hashFirst(bytes) || !file->seek(bytes);
    length = bytes;
}

// The digest covers the whole file, so the part kept from earlier is read once.
bool FileWriter::Work::hashFirst(qint64 bytes)
{
    if (expected.sha256.isEmpty())
        return true;
    if (!file->seek(0))
        return false;
    while (bytes > 0) {
        const QByteArray block = file->read(qMin<qint64>(bytes, 1 << 20));
        if (block.isEmpty())
            return false;
        digest.addData(block);
        bytes -= block.size();
    }
    return true;
}

void FileWriter::Work::write(const QByteArray &bytes)
{
    if (broken)
        return;
    if (file->write(bytes) != bytes.size()) {
        broken = true;
        return;
    }
    if (!expected.sha256.isEmpty())
        digest.addData(bytes);
    length += bytes.size();
}

FileWriter::Outcome FileWriter::Work::close(bool check)
{
    const Outcome verdict = conclude(check);
    file->close();
    return verdict;
}

// A file that differs is emptied, so that no later attempt continues it.
FileWriter::Outcome FileWriter::Work::conclude(bool check)
{
    if (broken)
        return Outcome::CannotWrite;
    if (!check)
        return Outcome::Complete;
    Outcome verdict = Outcome::Complete;
    if (expected.size >= 0 && length != expected.size)
        verdict = Outcome::WrongLength;
    else if (!expected.sha256.isEmpty() && digest.result() != expected.sha256)
        verdict = Outcome::WrongDigest;
    if (verdict != Outcome::Complete) {
        file->resize(0);
        return verdict;
    }
    // Where files are made durable one by one, while others are still on the line.
    return flushAsStaged(*file) ? Outcome::Complete : Outcome::CannotWrite;
}
