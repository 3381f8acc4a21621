#include "catalogue/mascarasbd.h"

#include "store/catalogo.h"

void GuardaMascara(Catalogo& bd, const QString& mascara)
{
    Operacion(bd, QStringLiteral("añadir la máscara «%1»").arg(mascara), [&](Transaccion&) {
        bd.Ejecuta(QStringLiteral("insert into tlmascara (dsmascara, wnmascara) values (?, ?)"),
                   {mascara, qint64(mascara.size())});
    });
}

QStringList MascarasGuardadas(Catalogo& bd)
{
    QStringList lista;
    // Within one length, in the order they were added.
    const QString select = QStringLiteral("select dsmascara from tlmascara order by wnmascara desc, %1")
                               .arg(bd.motor().OrdenDeAlta());
    for (Consulta r = bd.Abre(select); !r.Fin(); r.Siguiente())
        lista << r.Texto(QStringLiteral("dsmascara"));
    return lista;
}
