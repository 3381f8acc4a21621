#pragma once
#include <QString>
#include <functional>

// Messages with an OK button, and the questions only a person can answer,
// go through this so that tests can read them without a display.
class Avisos {
public:
    virtual ~Avisos() = default;
    // An information message box with its title.
    virtual void Informa(const QString& texto, const QString& titulo = QString()) = 0;
};

// Runs one operation of a handler. A failure (LodrinError or any other
// standard exception) is shown as "No se ha podido <que>." followed by the
// error's own text, under the title given, and the program carries on.
// Returns whether it went well.
bool Protege(Avisos& avisos, const QString& que, const std::function<void()>& operacion,
             const QString& titulo = QStringLiteral("Lodrin"));
