#include "main_window/aplicacion.h"

#include <QMessageBox>
#include <cstdlib>

#include "common/avisos.h"
#include "common/avisosventana.h"

bool AplicacionLodrin::notify(QObject* receptor, QEvent* evento)
{
    bool hecho = false;
    AvisosVentana sobreLaVentana(activeWindow());
    Protege(avisos_ ? *avisos_ : sobreLaVentana, QStringLiteral("terminar la operación"),
            [&] { hecho = QApplication::notify(receptor, evento); });
    return hecho;
}

void AplicacionLodrin::MuestraFalloYTermina(const QString& texto, QWidget* ventana)
{
    if (!ventana)
        ventana = activeWindow();
    QMessageBox::critical(ventana, QStringLiteral("Lodrin"), texto);
    std::exit(1);
}
