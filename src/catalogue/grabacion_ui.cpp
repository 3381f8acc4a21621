// The handlers of "Graba" and "Compara".
#include "catalogue/grabacion_ui.h"

#include "catalogue/comparacion.h"
#include "catalogue/grabacion.h"
#include "common/avance.h"
#include "common/avisos.h"

bool GrabaDesdeVentana(Catalogo& bd, const ListaTrabajo& lista, const DatosGrabacion& datos, Avance& avance,
                       Avisos& avisos, ResumenGrabacion* resumen)
{
    // Two CDs recorded without a description would share one catalogue row
    // and their songs would merge.
    if (datos.descripcion.trimmed().isEmpty() || datos.serial.trimmed().isEmpty()) {
        avisos.Informa(QStringLiteral("Para grabar el CD hace falta su descripción y su número de serie. "
                                      "No se ha grabado nada."),
                       QStringLiteral("Graba"));
        return false;
    }
    return Protege(avisos, QStringLiteral("grabar el CD \"%1\" en la base de datos").arg(datos.descripcion),
                   [&] {
                       const ResumenGrabacion hecho = GrabaCD(bd, lista, datos, &avance);
                       if (resumen)
                           *resumen = hecho;
                   }, QStringLiteral("Graba"));
}

QString TextoGrabado(const QString& descripcion, const ResumenGrabacion& resumen)
{
    return QStringLiteral("Grabado el CD «%1»: %2 %3, %4 %5")
        .arg(descripcion)
        .arg(resumen.discos)
        .arg(resumen.discos == 1 ? QStringLiteral("disco") : QStringLiteral("discos"))
        .arg(resumen.canciones)
        .arg(resumen.canciones == 1 ? QStringLiteral("canción") : QStringLiteral("canciones"));
}

void ComparaDesdeVentana(Catalogo& bd, ListaTrabajo& lista, Avisos& avisos)
{
    Protege(avisos, QStringLiteral("comparar la lista con la base de datos"), [&] { ComparaCD(bd, lista); });
}
