#pragma once
#include <QApplication>

class Avisos;

// The application-wide catch: a failure no handler caught is reported
// through the same boundary as theirs (Protege) and the program carries on.
class AplicacionLodrin : public QApplication {
public:
    using QApplication::QApplication;
    // Who tells the person; a message box over the active window until given.
    void PonAvisos(Avisos* avisos) { avisos_ = avisos; }
    bool notify(QObject* receptor, QEvent* evento) override;
    // Only a catalogue that cannot be opened at start ends the program.
    static void MuestraFalloYTermina(const QString& texto, QWidget* ventana = nullptr);

private:
    Avisos* avisos_ = nullptr;
};
