#include "online/mysocketstream.h"

#include "online/httpresponse.h"
#include "online/onlineerror.h"
#include "platform/cp1252.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

bool WaitForSocket(QTcpSocket &socket, QDeadlineTimer deadline, const std::function<bool()> &done)
{
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QTcpSocket::bytesWritten, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QTcpSocket::stateChanged, &loop, &QEventLoop::quit);
        QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
        timer.start(int(std::max<qint64>(1, deadline.remainingTime())));
        loop.exec();
        if (socket.state() == QAbstractSocket::UnconnectedState && !done())
            return done();
    }
    return true;
}

TMySocketStream::TMySocketStream(QTcpSocket &socket, QDeadlineTimer deadline)
    : m_socket(socket), m_deadline(deadline)
{
}

bool TMySocketStream::waitUntil(const std::function<bool()> &done)
{
    return WaitForSocket(m_socket, m_deadline, done);
}

void TMySocketStream::WriteLine(const QString &text)
{
    const QByteArray bytes = platform::toCp1252(text) + "\r\n";
    if (m_socket.write(bytes) != bytes.size())
        throw TOnlineError{QStringLiteral("Fehler beim Senden: ") + m_socket.errorString()};
    if (!waitUntil([this] { return m_socket.bytesToWrite() == 0; }))
        throw TOnlineError{m_deadline.hasExpired() ? QStringLiteral("Zeitüberschreitung beim Senden der Anfrage.")
                                                   : QStringLiteral("Fehler beim Senden: ") + m_socket.errorString()};
}

QString TMySocketStream::ReadAll(int bufferSize)
{
    const qint64 piece = std::max(1, bufferSize - 1);
    QByteArray received;
    QString text;
    auto ended = [this] { return m_socket.state() == QAbstractSocket::UnconnectedState; };
    if (!waitUntil([&] { return m_socket.bytesAvailable() > 0 || ended(); }) || m_socket.bytesAvailable() == 0)
        throw TOnlineError{QStringLiteral("Zeitüberschreitung: Der Server hat nicht geantwortet.")};
    for (;;) {
        while (m_socket.bytesAvailable() > 0) {
            const QByteArray part = m_socket.read(piece);
            received += part;
            if (received.size() > HttpMaxResponseBytes)
                throw TOnlineError{QStringLiteral("Die Antwort des Servers ist größer als 64 KiB und wird nicht "
                                                  "angenommen.")};
            // As text up to its first zero byte.
            const qsizetype zero = part.indexOf('\0');
            text += platform::fromCp1252(zero < 0 ? part : part.left(zero));
        }
        if (ended() || (Complete && Complete(received)))
            break;
        if (!waitUntil([&] { return m_socket.bytesAvailable() > 0 || ended(); }))
            throw TOnlineError{QStringLiteral("Zeitüberschreitung beim Lesen der Antwort (%1 Bytes erhalten).")
                                   .arg(received.size())};
    }
    return QString::number(received.size()) + QStringLiteral(" Bytes read\n\r") + text;
}

QString TMySocketStream::WriteLineAndRead(const QString &text, int bufferSize)
{
    WriteLine(text);
    return ReadAll(bufferSize);
}
