#include "dbui/errorsink.h"

#include "engine/engineerror.h"
#include "platform/deferredreports.h"

#include <QDebug>

namespace dbui {

namespace {
ErrorSink &sink()
{
    static ErrorSink s;
    return s;
}
} // namespace

ErrorSink setErrorSink(ErrorSink s)
{
    ErrorSink old = std::move(sink());
    sink() = std::move(s);
    return old;
}

void reportError(const QString &message)
{
    if (sink())
        sink()(message);
    else
        qWarning().noquote() << "Tarvo:" << message;
}

void reportErrorLater(const QString &message)
{
    platform::reportLater(message, [message] { reportError(message); });
}

bool guarded(const std::function<void()> &operation)
{
    return guarded(operation, reportError);
}

bool guarded(const std::function<void()> &operation, const ErrorSink &report)
{
    try {
        operation();
        return true;
    } catch (const engine::Abort &) {
        return false;
    } catch (const engine::EngineError &e) {
        report(e.message());
        return false;
    }
}

} // namespace dbui
