#include "online/httpget.h"

#include "online/httpresponse.h"
#include "online/mysocketstream.h"
#include "online/onlineerror.h"

#include <QTcpSocket>

#include <memory>

QString UpdateServerHost = QStringLiteral("www.ozo-software.de");
quint16 UpdateServerPort = 80;
int HttpTimeoutMs = 60000;

void HttpGet(const QString &host, const QString &path, int bufferSize, QString &response, QStringList *log,
             QObject *owner)
{
    const QDeadlineTimer deadline(HttpTimeoutMs);
    // Not a child of the owner: the owner may close while the event loop
    // runs, the socket must outlive the wait.
    Q_UNUSED(owner);
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(host, UpdateServerPort);
    if (!WaitForSocket(*socket, deadline,
                       [&] { return socket->state() == QAbstractSocket::ConnectedState; })) {
        const QString why = deadline.hasExpired() ? QStringLiteral("Zeitüberschreitung beim Verbindungsaufbau.")
                                                  : socket->errorString();
        socket->abort();
        throw TOnlineError{QStringLiteral("Keine Verbindung zu %1: %2").arg(host, why)};
    }
    auto addLog = [log](const QString &line) {
        if (log)
            *log << line;
    };
    try {
        TMySocketStream stream(*socket, deadline);
        stream.Complete = [](const QByteArray &bytes) {
            const THttpBodyState s = ParseHttpResponse(bytes).state;
            return s == THttpBodyState::Complete || s == THttpBodyState::Invalid;
        };
        const QString request = QStringLiteral("GET ") + path + QStringLiteral(" HTTP/1.1");
        const QStringList headers = {QStringLiteral("Accept: text/html; text/plain"),
                                     QStringLiteral("Host: %1:%2").arg(host).arg(UpdateServerPort),
                                     QStringLiteral("Connection: Close")};
        stream.WriteLine(request.left(253));
        addLog(QStringLiteral("> ") + request.left(253));
        for (const QString &h : headers) {
            stream.WriteLine(h.left(253));
            addLog(QStringLiteral("| ") + h.left(253));
        }
        stream.WriteLine(QString());
        response = stream.ReadAll(bufferSize);
        addLog(QStringLiteral("|"));
        addLog(response);
    } catch (...) {
        socket->abort();
        addLog(QStringLiteral("Socket closed!"));
        throw;
    }
    socket->close();
    addLog(QStringLiteral("Socket closed!"));
}
