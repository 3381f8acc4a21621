#pragma once
#include <QString>
#include <stdexcept>

// The one error type of the logic layer. It carries the text the user is shown;
// the window that started the operation shows it and the program carries on.
class LodrinError : public std::runtime_error {
public:
    explicit LodrinError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The catalogue could not be opened (or created) at start: the only failure
// that ends the program, since nothing can be done without it.
class CatalogoNoAbierto : public LodrinError {
public:
    using LodrinError::LodrinError;
};

// The person cancelled long work: told as what was (not) done, not as a failure.
class OperacionCancelada : public LodrinError {
public:
    using LodrinError::LodrinError;
};
