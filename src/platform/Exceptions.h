// The exception hierarchy that every layer raises and catches.
#pragma once

#include <QString>

#include <exception>

// Root of every error the program raises; carries the user-facing text.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

class EConvertError : public Exception
{
public:
    using Exception::Exception;
    // "'<text>' není <what>.": a text that does not read as what ("platné celé číslo", ...).
    static EConvertError notValid(QStringView text, const QString& what)
    {
        return EConvertError(QStringLiteral("'%1' není %2.").arg(text, what));
    }
};
class EListError : public Exception { public: using Exception::Exception; };
class EDatabaseError : public Exception { public: using Exception::Exception; };
class EBadStream : public Exception { public: using Exception::Exception; };
class EInOutError : public Exception { public: using Exception::Exception; };
class EFileError : public EInOutError { public: using EInOutError::EInOutError; };
class EAbort : public Exception { public: using Exception::Exception; };
class EAccessViolation : public Exception { public: using Exception::Exception; };

// A syntax error of a text the user wrote; Position is the 1-based character position of the fault.
class SyntaxExcept : public Exception
{
public:
    SyntaxExcept(QString message, int position) : Exception(std::move(message)), m_position(position) {}
    int Position() const { return m_position; }

private:
    int m_position;
};

// Integer arithmetic.
class EIntError : public Exception { public: using Exception::Exception; };
class EIntOverflow : public EIntError { public: using EIntError::EIntError; };
class EDivByZero : public EIntError { public: using EIntError::EIntError; };
class ERangeError : public EIntError { public: using EIntError::EIntError; };

// Floating-point arithmetic.
class EMathError : public Exception { public: using Exception::Exception; };
class EZeroDivide : public EMathError { public: using EMathError::EMathError; };
class EOverflow : public EMathError { public: using EMathError::EMathError; };
class EUnderflow : public EMathError { public: using EMathError::EMathError; };
class EInvalidOp : public EMathError { public: using EMathError::EMathError; };
