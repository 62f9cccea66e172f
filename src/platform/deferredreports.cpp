#include "platform/deferredreports.h"

#include <QCoreApplication>
#include <QSet>

#include <deque>

namespace platform {

namespace {

struct Report
{
    QString key;
    std::function<void()> show;
};

struct Reports
{
    std::deque<Report> waiting;
    QSet<QString> keys; // waiting or on screen
    bool posted = false;
    bool showing = false;
};

Reports &reports()
{
    static Reports r;
    return r;
}

void post();

// Shows what waits, one report after the other; a report raised while a box
// is up (its nested loop runs this again) waits for the loop below.
void showWaiting()
{
    Reports &r = reports();
    r.posted = false;
    if (r.showing)
        return;
    r.showing = true;
    struct Done
    {
        ~Done()
        {
            reports().showing = false;
            if (!reports().waiting.empty())
                post(); // after a report that threw: the rest later
        }
    } done;
    while (!r.waiting.empty()) {
        Report next = std::move(r.waiting.front());
        r.waiting.pop_front();
        struct Shown
        {
            QString key;
            ~Shown() { reports().keys.remove(key); }
        } shown{next.key};
        next.show();
    }
}

void post()
{
    Reports &r = reports();
    if (r.posted)
        return;
    r.posted = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &showWaiting, Qt::QueuedConnection);
}

} // namespace

void reportLater(const QString &key, std::function<void()> show)
{
    if (!QCoreApplication::instance()) {
        show();
        return;
    }
    Reports &r = reports();
    if (r.keys.contains(key))
        return;
    r.keys.insert(key);
    r.waiting.push_back({key, std::move(show)});
    post();
}

int pendingReports()
{
    return int(reports().keys.size());
}

} // namespace platform
