#ifndef ELEVATEDSTART_H
#define ELEVATEDSTART_H

#include <QObject>
#include <QString>
#include <QStringList>

class QWinEventNotifier;

/// Starts a program with administrator rights, after the one prompt
/// Windows shows for it ("runas"), and waits on the event loop for its end.
class ElevatedStart : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Ended, Declined, Failed };

    explicit ElevatedStart(QObject *parent = nullptr);
    ~ElevatedStart() override;

    /// \a arguments must hold no space or quote: they are passed as they stand.
    void start(const QString &program, const QStringList &arguments);

    Outcome outcome() const { return result; }
    quint32 exitCode() const { return code; }
    QString errorString() const { return error; }

signals:
    void finished();

private:
    void onEnded();
    void finish(Outcome outcome, const QString &error = QString());

    void *process = nullptr;
    QWinEventNotifier *notifier = nullptr;
    Outcome result = Outcome::Failed;
    quint32 code = 0;
    QString error;
};

#endif // ELEVATEDSTART_H
