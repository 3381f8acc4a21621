#include "catalogue/mascarasbd.h"

#include "catalogue/catalogo.h"

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
    for (Consulta r = bd.Abre(QStringLiteral("select dsmascara from tlmascara order by wnmascara desc")); !r.Fin();
         r.Siguiente())
        lista << r.Texto(QStringLiteral("dsmascara"));
    return lista;
}
