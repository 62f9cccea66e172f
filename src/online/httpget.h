// A minimal HTTP/1.1 client: one GET, the whole answer as text, a log of the
// lines sent and received. Where it connects is a setting (the product's
// server on port 80; tests point it at a server of their own).
#pragma once

#include <QString>
#include <QStringList>

class QObject;

// The product's web server and the port of its HTTP service.
extern QString UpdateServerHost;
extern quint16 UpdateServerPort;
// The limit of one exchange, the connect included, in milliseconds.
extern int HttpTimeoutMs;

// One GET of path from host (port UpdateServerPort); the response is the
// whole text received, after ReadAll's byte-count line. Every line sent and
// received goes to log when one is given. Throws TOnlineError.
void HttpGet(const QString &host, const QString &path, int bufferSize, QString &response, QStringList *log,
             QObject *owner);
