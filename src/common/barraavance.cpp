#include "common/barraavance.h"

#include <QCoreApplication>

BarraAvance::BarraAvance(QWidget* parent) : QProgressBar(parent) { setObjectName(QStringLiteral("prgLoad")); }

void BarraAvance::Empieza(int maximo)
{
    setRange(0, maximo);
    setValue(0);
    if (isHidden()) {
        cancelado_ = false;
        show();
        emit Trabajando(true);
    }
    repaint();
    pintado_ = 0;
    escuchado_.invalidate();
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
    emit Avanzado(valor);
}

void BarraAvance::Termina()
{
    if (isHidden())
        return;
    hide();
    emit Trabajando(false);
}

bool BarraAvance::Cancelado()
{
    // Asked once per folder or file: the window hears its input a few dozen
    // times a second, which is as soon as a person can tell, not every time.
    constexpr qint64 kIntervaloMs = 25;
    if (!cancelado_ && isVisible() && (!escuchado_.isValid() || escuchado_.elapsed() >= kIntervaloMs)) {
        QCoreApplication::processEvents();
        escuchado_.start();
    }
    return cancelado_;
}
