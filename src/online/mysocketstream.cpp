#include "online/mysocketstream.h"

#include "online/httpresponse.h"
#include "online/onlineerror.h"
#include "platform/cp1252.h"

#include <QTcpSocket>

TMySocketStream::TMySocketStream(QTcpSocket &socket, QDeadlineTimer deadline, QObject *parent)
    : QObject(parent), m_socket(socket), m_deadline(deadline)
{
    m_limit.setSingleShot(true);
}

void TMySocketStream::WriteLine(const QString &text)
{
    const QByteArray bytes = platform::toCp1252(text) + "\r\n";
    if (m_socket.write(bytes) != bytes.size())
        throw TOnlineError{QStringLiteral("Fehler beim Senden: ") + m_socket.errorString()};
}

void TMySocketStream::ReadAll(int bufferSize, TFinished finished)
{
    m_piece = std::max(1, bufferSize - 1);
    m_finished = std::move(finished);
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] { readAvailable(); });
    // The end of the connection ends the answer; an error while it is open
    // ends the exchange (a closing server is no error).
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] { readAvailable(); end(QString()); });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError) {
            readAvailable();
            end(QString());
        } else {
            end((m_socket.bytesToWrite() > 0 ? QStringLiteral("Fehler beim Senden: ")
                                             : QStringLiteral("Fehler beim Lesen der Antwort: "))
                + m_socket.errorString());
        }
    });
    connect(&m_limit, &QTimer::timeout, this, [this] {
        if (m_socket.bytesToWrite() > 0)
            end(QStringLiteral("Zeitüberschreitung beim Senden der Anfrage."));
        else if (m_received.isEmpty())
            end(QStringLiteral("Zeitüberschreitung: Der Server hat nicht geantwortet."));
        else
            end(QStringLiteral("Zeitüberschreitung beim Lesen der Antwort (%1 Bytes erhalten).").arg(m_received.size()));
    });
    m_limit.start(int(std::max<qint64>(1, m_deadline.remainingTime())));
    // What came before the call is read now.
    readAvailable();
    if (m_finished && m_socket.state() == QAbstractSocket::UnconnectedState)
        end(QString());
}

void TMySocketStream::WriteLineAndRead(const QString &text, int bufferSize, TFinished finished)
{
    WriteLine(text);
    ReadAll(bufferSize, std::move(finished));
}

void TMySocketStream::readAvailable()
{
    while (m_finished && m_socket.bytesAvailable() > 0) {
        const QByteArray part = m_socket.read(m_piece);
        m_received += part;
        if (m_received.size() > HttpMaxResponseBytes) {
            end(QStringLiteral("Die Antwort des Servers ist größer als 64 KiB und wird nicht angenommen."));
            return;
        }
        // As text up to its first zero byte.
        const qsizetype zero = part.indexOf('\0');
        m_text += platform::fromCp1252(zero < 0 ? part : part.left(zero));
    }
    if (m_finished && Complete && !m_received.isEmpty() && Complete(m_received))
        end(QString());
}

void TMySocketStream::end(const QString &error)
{
    if (!m_finished)
        return;
    m_limit.stop();
    disconnect(&m_socket, nullptr, this, nullptr);
    TFinished finished = std::move(m_finished);
    m_finished = nullptr;
    if (error.isEmpty() && m_received.isEmpty()) {
        finished(QString(), QStringLiteral("Zeitüberschreitung: Der Server hat nicht geantwortet."));
        return;
    }
    if (!error.isEmpty()) {
        finished(QString(), error);
        return;
    }
    finished(QString::number(m_received.size()) + QStringLiteral(" Bytes read\n\r") + m_text, QString());
}
