#pragma once
#include <QString>
#include <stdexcept>

// The one error type of the logic layer. It carries the text the user is shown;
// the program's boundary catches it, shows it in a message box and ends.
class LodrinError : public std::runtime_error {
public:
    explicit LodrinError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};
