#include "httpsession.h"
#include "curlhandles.h"
#include "tlstrust.h"

#include <QNetworkProxyQuery>
#include <QSocketNotifier>
#include <QUrl>

namespace {

// Streams on one HTTP/2 connection: enough to fill a long line with small files.
constexpr long mostStreams = 100;

// Before any other call to libcurl, which would initialise it implicitly and
// leave the TLS library no longer to be chosen.
void initCurlOnce()
{
    static const bool initialised = [] {
        chooseTlsLibrary();
        return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    }();
    Q_UNUSED(initialised)
}

} // namespace

struct SessionCallbacks
{
    static int onSocket(CURL *, curl_socket_t socket, int what, void *self, void *)
    {
        static_cast<HttpSession *>(self)->watch(qintptr(socket), what);
        return 0;
    }

    static int onTimer(CURLM *, long timeoutMs, void *self)
    {
        QTimer &timer = static_cast<HttpSession *>(self)->timer;
        if (timeoutMs < 0)
            timer.stop();
        else
            timer.start(int(timeoutMs));
        return 0;
    }
};

// libcurl runs on this thread, and so do the downloads' signals; only
// their files are written elsewhere (FileWriter).
HttpSession::HttpSession(QObject *parent)
    : QObject(parent)
{
    initCurlOnce();
    multi = curl_multi_init();
    curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &SessionCallbacks::onSocket);
    curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &SessionCallbacks::onTimer);
    curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);
    curl_multi_setopt(multi, CURLMOPT_PIPELINING, long(CURLPIPE_MULTIPLEX));
    curl_multi_setopt(multi, CURLMOPT_MAX_CONCURRENT_STREAMS, mostStreams);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
}

HttpSession::~HttpSession()
{
    for (auto it = running.begin(); it != running.end(); ++it)
        curl_multi_remove_handle(multi, it.key());
    curl_multi_cleanup(multi);
    for (Watch &watch : watches)
        forget(watch);
}

void HttpSession::start(void *easy, Transfer *transfer)
{
    running.insert(easy, transfer);
    curl_easy_setopt(easy, CURLOPT_PRIVATE, transfer);
    curl_multi_add_handle(multi, easy);
}

void HttpSession::stop(void *easy)
{
    Transfer *transfer = running.take(easy);
    if (transfer)
        curl_multi_remove_handle(multi, easy);
    arrived.removeAll(transfer);
    for (int i = done.size() - 1; i >= 0; --i) {
        if (done.at(i).first == transfer)
            done.removeAt(i);
    }
}

void HttpSession::noteArrival(Transfer *transfer)
{
    if (!arrived.contains(transfer))
        arrived.append(transfer);
}

void HttpSession::resume(void *easy)
{
    // Unpausing may hand over the data kept meanwhile at once.
    curl_easy_pause(easy, CURLPAUSE_CONT);
    tellTransfers();
}

ProxyChoice HttpSession::proxyFor(const QUrl &url)
{
    const ProxyChoice choice = ProxyChoice::fromSystem(proxies.queryProxy(QNetworkProxyQuery(url)),
                                                       ProxyChoice::systemNoProxy());
    if (signOnProxy.isEmpty() || choice.proxyName() != signOnProxy)
        return choice;
    return choice.withCredentials(signOnUser, signOnPassword);
}

void HttpSession::signOn(const QString &proxyName, const QString &userName, const QString &password)
{
    signOnProxy = proxyName;
    signOnUser = userName;
    signOnPassword = password;
}

void HttpSession::trustAlso(const QByteArray &pemCertificates)
{
    addToProcessTrust(pemCertificates);
}

void HttpSession::watch(qintptr socket, int what)
{
    Watch &watch = watches[socket];
    if (what == CURL_POLL_REMOVE) {
        forget(watch);
        watches.remove(socket);
        return;
    }
    const auto notifier = [this, socket](QSocketNotifier::Type type, int event) {
        auto *created = new QSocketNotifier(socket, type, this);
        connect(created, &QSocketNotifier::activated, this, [this, socket, event] { act(socket, event); });
        return created;
    };
    if ((what & CURL_POLL_IN) && !watch.read)
        watch.read = notifier(QSocketNotifier::Read, CURL_CSELECT_IN);
    if ((what & CURL_POLL_OUT) && !watch.write)
        watch.write = notifier(QSocketNotifier::Write, CURL_CSELECT_OUT);
    if (watch.read)
        watch.read->setEnabled(what & CURL_POLL_IN);
    if (watch.write)
        watch.write->setEnabled(what & CURL_POLL_OUT);
}

// The notifier may be the one whose activation runs now.
void HttpSession::forget(Watch &watch)
{
    for (QSocketNotifier *notifier : {watch.read, watch.write}) {
        if (!notifier)
            continue;
        notifier->setEnabled(false);
        notifier->disconnect(this);
        notifier->deleteLater();
    }
    watch = Watch();
}

// What libcurl finished is acted on in this same activation: a wake-up left
// for later could find the caller's loop already asleep.
void HttpSession::act(qintptr socket, int events)
{
    int stillRunning = 0;
    curl_multi_socket_action(multi, curl_socket_t(socket), events, &stillRunning);
    collectDone();
    tellTransfers();
}

void HttpSession::collectDone()
{
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi, &left)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        Transfer *transfer = running.take(message->easy_handle);
        const int result = message->data.result;
        curl_multi_remove_handle(multi, message->easy_handle);
        if (transfer)
            done.append({transfer, result});
    }
}

// A transfer told may start, stop or end others, so each is taken off the
// lists before it is told.
void HttpSession::tellTransfers()
{
    while (!arrived.isEmpty()) {
        Transfer *transfer = arrived.takeFirst();
        bool ending = false;
        for (const auto &entry : qAsConst(done))
            ending = ending || entry.first == transfer;
        if (!ending)
            transfer->onArrivals();
    }
    while (!done.isEmpty()) {
        const QPair<Transfer *, int> entry = done.takeFirst();
        entry.first->onTransferDone(entry.second);
    }
}
