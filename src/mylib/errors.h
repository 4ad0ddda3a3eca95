#pragma once
// Errors that end an operation and reach the window event that started it,
// where the application's standard error box shows them.

#include <QString>
#include <stdexcept>

class EVoltiskError : public std::runtime_error {
public:
    explicit EVoltiskError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& Message() const { return message_; }

private:
    QString message_;
};

// The error box text: the message and a full stop, unless its last character
// is a full stop or comes before it in character-code order.
QString ErrorBoxText(const QString& message);
