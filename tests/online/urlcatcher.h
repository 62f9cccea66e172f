// Takes the addresses the program would open in the browser
// (QDesktopServices::setUrlHandler), so no test starts one.
#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};
