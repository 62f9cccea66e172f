#include "online/httpget.h"

#include "online/httpresponse.h"
#include "online/mysocketstream.h"
#include "online/onlineerror.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QTimer>

#include <exception>

QString UpdateServerHost = QStringLiteral("www.ozo-software.de");
quint16 UpdateServerPort = 80;
int HttpTimeoutMs = 60000;

namespace {

// One GET from connect to the last byte. It lives until it has reported (or
// until its owner goes) and frees itself; the socket is its child.
class THttpExchange : public QObject
{
public:
    THttpExchange(QString host, QString path, int bufferSize, QObject *owner, THttpDone done)
        : QObject(owner), m_host(std::move(host)), m_path(std::move(path)), m_bufferSize(bufferSize),
          m_deadline(HttpTimeoutMs), m_done(std::move(done))
    {
    }

    // Gone before its end (its owner went first): the socket is cut off
    // before anything dies, so that no signal of it calls into the half
    // destroyed exchange or its stream.
    ~THttpExchange() override
    {
        m_reported = true;
        if (m_socket) {
            m_socket->disconnect();
            m_socket->abort();
        }
    }

    void start()
    {
        step([this] {
            m_socket = new QTcpSocket(this);
            connect(m_socket, &QTcpSocket::connected, this, [this] { step([this] { send(); }); });
            connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
                if (!m_stream)
                    fail(QStringLiteral("Keine Verbindung zu %1: %2").arg(m_host, m_socket->errorString()));
            });
            m_connectLimit.setSingleShot(true);
            connect(&m_connectLimit, &QTimer::timeout, this, [this] {
                if (!m_stream)
                    fail(QStringLiteral("Keine Verbindung zu %1: Zeitüberschreitung beim Verbindungsaufbau.")
                             .arg(m_host));
            });
            m_connectLimit.start(int(std::max<qint64>(1, m_deadline.remainingTime())));
            m_socket->connectToHost(m_host, UpdateServerPort);
        });
    }

private:
    void send()
    {
        m_connectLimit.stop();
        m_stream = new TMySocketStream(*m_socket, m_deadline, this);
        m_stream->Complete = [](const QByteArray &bytes) {
            const THttpBodyState s = ParseHttpResponse(bytes).state;
            return s == THttpBodyState::Complete || s == THttpBodyState::Invalid;
        };
        const QString request = (QStringLiteral("GET ") + m_path + QStringLiteral(" HTTP/1.1")).left(253);
        const QStringList headers = {QStringLiteral("Accept: text/html; text/plain"),
                                     QStringLiteral("Host: %1:%2").arg(m_host).arg(UpdateServerPort),
                                     QStringLiteral("Connection: Close")};
        m_stream->WriteLine(request);
        m_result.log << QStringLiteral("> ") + request;
        for (const QString &h : headers) {
            m_stream->WriteLine(h.left(253));
            m_result.log << QStringLiteral("| ") + h.left(253);
        }
        m_stream->WriteLineAndRead(QString(), m_bufferSize, [this](const QString &text, const QString &error) {
            if (m_reported)
                return;
            step([&] {
                if (!error.isEmpty()) {
                    fail(error);
                    return;
                }
                m_result.response = text;
                m_result.log << QStringLiteral("|") << text;
                finish(true);
            });
        });
    }

    void fail(const QString &error)
    {
        m_result.error = error;
        finish(false);
    }

    // Closes the connection and reports from the event loop, once.
    void finish(bool ok)
    {
        if (m_reported)
            return;
        m_reported = true;
        m_connectLimit.stop();
        if (m_socket) {
            disconnect(m_socket, nullptr, this, nullptr);
            if (m_stream)
                disconnect(m_socket, nullptr, m_stream, nullptr);
            if (m_stream)
                m_result.log << QStringLiteral("Socket closed!");
            m_socket->abort();
        }
        m_result.ok = ok;
        QTimer::singleShot(0, this, [this] {
            THttpDone done = std::move(m_done);
            const THttpResult result = std::move(m_result);
            deleteLater();
            if (done)
                done(result);
        });
    }

    // A step on the socket's behalf: whatever it throws ends the exchange as
    // a failure, so that it always reports.
    template <typename F>
    void step(F &&f)
    {
        try {
            f();
        } catch (const TOnlineError &e) {
            fail(e.message);
        } catch (const std::exception &e) {
            fail(QStringLiteral("Unerwarteter Fehler bei der Verbindung: ") + QString::fromLocal8Bit(e.what()));
        } catch (...) {
            fail(QStringLiteral("Unerwarteter Fehler bei der Verbindung."));
        }
    }

    QString m_host;
    QString m_path;
    int m_bufferSize;
    QDeadlineTimer m_deadline;
    THttpDone m_done;
    THttpResult m_result;
    QTcpSocket *m_socket = nullptr;
    TMySocketStream *m_stream = nullptr;
    QTimer m_connectLimit;
    bool m_reported = false;
};

} // namespace

void HttpGet(const QString &host, const QString &path, int bufferSize, QObject *owner, THttpDone done)
{
    (new THttpExchange(host, path, bufferSize, owner, std::move(done)))->start();
}
