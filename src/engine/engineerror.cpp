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

} // namespace engine
