// A socket stream with a time limit: lines out, the whole answer in. The
// waits run the event loop (the window keeps painting, the wait box shows)
// but never beyond the deadline, which the connect shares.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <functional>

class QTcpSocket;

class TMySocketStream
{
public:
    TMySocketStream(QTcpSocket &socket, QDeadlineTimer deadline);

    // The text and CR LF, as Windows-1252 bytes; throws TOnlineError.
    void WriteLine(const QString &text);
    // Waits for the first data, then reads bufferSize - 1 bytes at a time
    // until the connection ends or Complete says the answer is all there.
    // Gives the byte count, " Bytes read", LF, CR and the text received.
    // Throws TOnlineError on a time-out or an answer over 64 KiB.
    QString ReadAll(int bufferSize);
    QString WriteLineAndRead(const QString &text, int bufferSize);

    // Tells from the bytes so far whether the answer is complete.
    std::function<bool(const QByteArray &)> Complete;

private:
    bool waitUntil(const std::function<bool()> &done);

    QTcpSocket &m_socket;
    QDeadlineTimer m_deadline;
};

// Runs the event loop until done() holds, the socket changes its state or
// reports an error, or the deadline passes; true when done() holds.
bool WaitForSocket(QTcpSocket &socket, QDeadlineTimer deadline, const std::function<bool()> &done);
