#include "common/barraavance.h"

BarraAvance::BarraAvance(QWidget* parent) : QProgressBar(parent) { setObjectName(QStringLiteral("prgLoad")); }

void BarraAvance::Empieza(int maximo)
{
    setRange(0, maximo);
    setValue(0);
    show();
    repaint();
    pintado_ = 0;
}

void BarraAvance::Avanza(int valor)
{
    setValue(valor);
    // One paint per hundredth is enough to see it move.
    const int centesimas = maximum() > 0 ? int(qint64(valor) * 100 / maximum()) : 100;
    if (centesimas != pintado_) {
        pintado_ = centesimas;
        repaint();
    }
}

void BarraAvance::Termina() { hide(); }
