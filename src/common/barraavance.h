#pragma once
#include <QElapsedTimer>
#include <QProgressBar>

#include "common/avance.h"

// prgLoad: shown while a long operation runs, hidden otherwise. It is painted
// as it moves; only an operation that asks whether it was cancelled lets the
// window hear input meanwhile (the window keeps everything but the cancel
// button disabled while it works).
class BarraAvance : public QProgressBar, public Avance {
    Q_OBJECT
public:
    explicit BarraAvance(QWidget* parent = nullptr);
    void Empieza(int maximo) override;
    void Avanza(int valor) override;
    void Termina() override;
    bool Cancelado() override;

public slots:
    void Cancela() { cancelado_ = true; }

signals:
    // Shown or hidden: the window disables itself meanwhile.
    void Trabajando(bool si);
    // Every step, once painted; a test may cancel here.
    void Avanzado(int valor);

private:
    int pintado_ = -1;
    bool cancelado_ = false;
    QElapsedTimer escuchado_;  // since the window last heard its input
};
