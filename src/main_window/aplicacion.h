#pragma once
#include <QApplication>

// The one boundary that catches the logic's error type: it shows the text in
// a message box and ends the program.
class AplicacionLodrin : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receptor, QEvent* evento) override;
    static void MuestraFalloYTermina(const QString& texto, QWidget* ventana = nullptr);
};
