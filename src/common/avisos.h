#pragma once
#include <QString>

// Messages with an OK button, and the questions only a person can answer,
// go through this so that tests can read them without a display.
class Avisos {
public:
    virtual ~Avisos() = default;
    // An information message box with its title.
    virtual void Informa(const QString& texto, const QString& titulo = QString()) = 0;
};
