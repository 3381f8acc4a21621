#pragma once
#include <QProgressBar>

#include "common/avance.h"

// prgLoad: shown while a long operation runs, hidden otherwise. It is painted
// as it moves, without handing the event loop any other input.
class BarraAvance : public QProgressBar, public Avance {
    Q_OBJECT
public:
    explicit BarraAvance(QWidget* parent = nullptr);
    void Empieza(int maximo) override;
    void Avanza(int valor) override;
    void Termina() override;

private:
    int pintado_ = -1;
};
