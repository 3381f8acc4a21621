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
    // Something failed: the same box with the warning icon.
    virtual void Falla(const QString& texto, const QString& titulo = QString()) { Informa(texto, titulo); }
};

// The text of a failure: what failed, then why, the engine's own text last.
// A cause that already says what could not be done is not worded twice.
QString TextoFallo(const QString& que, const QString& causa);

// The one error boundary: runs an operation of a handler; a failure
// (LodrinError or any other standard exception) is shown as a warning
// (TextoFallo) under the title given, and the program carries on.
// Returns whether it went well.
bool Protege(Avisos& avisos, const QString& que, const std::function<void()>& operacion,
             const QString& titulo = QStringLiteral("Lodrin"));
