#include "platform/exception.h"

Exception::Exception(const QString& message) : m_message(message), m_what(message.toUtf8()) {}

const char* Exception::what() const noexcept
{
    return m_what.isEmpty() ? ClassName() : m_what.constData();
}
