#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Base of every exception the program raises on purpose. Callers that report
// one show a language text followed by the class name, so each class can
// name itself.
class Exception : public std::exception {
public:
    Exception() = default;
    explicit Exception(const QString& message);

    virtual const char* ClassName() const noexcept { return "Exception"; }
    const QString& Message() const noexcept { return m_message; }
    const char* what() const noexcept override;

private:
    QString m_message;
    QByteArray m_what;
};

// Declares an exception class derived directly from Exception.
#define PHRASORA_DECLARE_EXCEPTION(Name)                                                           \
    class Name : public Exception {                                                                \
    public:                                                                                        \
        using Exception::Exception;                                                                \
        const char* ClassName() const noexcept override { return #Name; }                          \
    }
