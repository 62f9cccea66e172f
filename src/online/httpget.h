// A minimal HTTP/1.1 client: one GET, the whole answer as text, a log of the
// lines sent and received. It runs on the socket's signals: the call returns
// at once, the program goes on, and the end is reported once, from the event
// loop. Where it connects is a setting (the product's server on port 80;
// tests point it at a server of their own).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

// The product's web server and the port of its HTTP service.
extern QString UpdateServerHost;
extern quint16 UpdateServerPort;
// The limit of one exchange, the connect included, in milliseconds.
extern int HttpTimeoutMs;

struct THttpResult
{
    bool ok = false;
    QString response; // the byte-count line ("N Bytes read", LF, CR) and all text received
    QString error;    // the German reason when not ok
    // "> " and the request line, "| " and each header, then "|" and the
    // response; "Socket closed!" once the connection was made. Empty when
    // it could not be made.
    QStringList log;
};
using THttpDone = std::function<void(const THttpResult &)>;

// Starts one GET of path from host (port UpdateServerPort) and returns. done
// is called once, from the event loop, with the answer or the failure (any
// exception on the way becomes a failure). With an owner the request is the
// owner's: when the owner goes first, the request ends and done is not called
// (and is destroyed).
void HttpGet(const QString &host, const QString &path, int bufferSize, QObject *owner, THttpDone done);
