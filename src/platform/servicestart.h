#ifndef SERVICESTART_H
#define SERVICESTART_H

#include <QObject>
#include <QString>
#include <QTimer>

/// Starts an installed demand-start service with one argument and waits,
/// on the event loop, until it has stopped again: its exit code is what it
/// reported to the service manager, which only the service itself can set.
class ServiceStart : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Stopped, NotInstalled, Failed };

    explicit ServiceStart(QObject *parent = nullptr);
    ~ServiceStart() override;

    void start(const QString &serviceName, const QString &argument);

    /// Whether the service exists and this user may start it.
    static bool isStartable(const QString &serviceName);

    Outcome outcome() const { return result; }
    /// The service's own exit code, once Stopped.
    quint32 exitCode() const { return code; }
    QString errorString() const { return error; }

    /// How often a running service is asked whether it has stopped.
    static constexpr int pollInterval = 200;

signals:
    void finished();

private:
    void onPoll();
    void finish(Outcome outcome, const QString &error = QString());

    void *manager = nullptr;
    void *service = nullptr;
    QTimer poll;
    Outcome result = Outcome::Failed;
    quint32 code = 0;
    QString error;
};

#endif // SERVICESTART_H
