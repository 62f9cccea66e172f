// A socket stream with a time limit, on the socket's signals: lines go out as
// the socket takes them, the answer is gathered as it comes in. Nothing waits
// here and no event loop is started: the program goes on, and the end (the
// answer complete, the connection closed, a failure or the time limit) is
// reported once.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QTcpSocket;

class TMySocketStream : public QObject
{
public:
    // The text read (after its byte-count line), or on failure an empty text
    // and the German reason.
    using TFinished = std::function<void(const QString &text, const QString &error)>;

    // The socket is connected and outlives the stream; the deadline is shared
    // with the connect.
    TMySocketStream(QTcpSocket &socket, QDeadlineTimer deadline, QObject *parent = nullptr);

    // The text and CR LF, as Windows-1252 bytes, handed to the socket; throws
    // TOnlineError when the socket refuses them.
    void WriteLine(const QString &text);
    // Gathers the answer, bufferSize - 1 bytes at a time, until the
    // connection ends or Complete says the answer is all there; then calls
    // finished with the byte count in decimal, " Bytes read", LF, CR and all
    // text received (each piece up to its first zero byte). Returns at once.
    void ReadAll(int bufferSize, TFinished finished);
    void WriteLineAndRead(const QString &text, int bufferSize, TFinished finished);

    // Tells from the bytes so far that the answer is complete (the server
    // may keep the connection open).
    std::function<bool(const QByteArray &)> Complete;

private:
    void readAvailable();
    void end(const QString &error);

    QTcpSocket &m_socket;
    QDeadlineTimer m_deadline;
    QTimer m_limit;
    qint64 m_piece = 255;
    QByteArray m_received;
    QString m_text;
    TFinished m_finished;
};
