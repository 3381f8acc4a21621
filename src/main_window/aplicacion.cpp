#include "main_window/aplicacion.h"

#include <QMessageBox>
#include <cstdlib>

#include "common/lodrinerror.h"

bool AplicacionLodrin::notify(QObject* receptor, QEvent* evento)
{
    try {
        return QApplication::notify(receptor, evento);
    } catch (const LodrinError& e) {
        MuestraFalloYTermina(e.message());
    } catch (const std::exception& e) {
        MuestraFalloYTermina(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void AplicacionLodrin::MuestraFalloYTermina(const QString& texto, QWidget* ventana)
{
    if (!ventana)
        ventana = activeWindow();
    QMessageBox::critical(ventana, QStringLiteral("Lodrin"), texto);
    std::exit(1);
}
