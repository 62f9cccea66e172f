#include "engine/engineerror.h"

namespace engine {

EngineError::EngineError(int code, QString message)
    : m_code(code), m_message(std::move(message)), m_utf8(m_message.toStdString())
{
}

void raise(int code, const QString &message)
{
    throw EngineError(code, message);
}

EngineError recordChanged(const QString &tableName)
{
    return EngineError(ErrRecordChanged, QStringLiteral("Der Datensatz wurde inzwischen von einem anderen Benutzer geändert (Tabelle \"%1\"). "
                                                        "Die Anzeige zeigt jetzt dessen Werte, Ihre Eingaben sind erhalten: "
                                                        "Speichern Sie erneut, um sie zu übernehmen, oder brechen Sie ab.")
                                             .arg(tableName));
}

} // namespace engine
