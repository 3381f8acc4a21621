#include "catalogue/repetidas.h"

#include <QSqlQuery>
#include <algorithm>

#include "common/orden.h"
#include "store/catalogo.h"

std::vector<CancionRepetida> CancionesRepetidas(Catalogo& bd)
{
    // The key column holds the folded title; the author's row is one per
    // folded name, so its id stands for the folded author.
    const QString sql = QStringLiteral(
        "select c.idcancion, c.cdautor, c.dscancion_clave, a.dsautor, c.dscancion, c.cdcd, cd.dscd, d.dsdisco,"
        " c.wncancion, c.wntime"
        " from tlcancion c"
        " join (select cdautor, dscancion_clave from tlcancion group by cdautor, dscancion_clave"
        "       having count(distinct cdcd) > 1) r"
        "   on r.cdautor = c.cdautor and r.dscancion_clave = c.dscancion_clave"
        " left join tlautor a on a.idautor = c.cdautor"
        " left join tlcd cd on cd.idcd = c.cdcd"
        " left join tldisco d on d.iddisco = c.cddisco"
        " order by c.cdautor, c.dscancion_clave, c.cdcd, c.idcancion");
    std::vector<CancionRepetida> r;
    qint64 autor = -1;
    QString clave;
    LecturaCatalogo lectura(bd);
    bd.Recorre(sql, {}, [&](const QSqlQuery& q) {
        if (r.empty() || q.value(1).toLongLong() != autor || q.value(2).toString() != clave) {
            autor = q.value(1).toLongLong();
            clave = q.value(2).toString();
            r.push_back({q.value(3).toString(), q.value(4).toString(), {}, false});
        }
        r.back().sitios.push_back({q.value(0).toLongLong(), q.value(5).toLongLong(), q.value(6).toString(),
                                   q.value(7).toString(), q.value(8).toLongLong(), q.value(9).toLongLong()});
    });
    for (CancionRepetida& c : r) {
        qint64 menor = -1, mayor = -1;
        for (const SitioRepetida& s : c.sitios)
            if (s.segundos > 0) {
                menor = menor < 0 ? s.segundos : std::min(menor, s.segundos);
                mayor = std::max(mayor, s.segundos);
            }
        c.tiemposDistintos = menor >= 0 && mayor - menor > kTomasDistintas;
    }
    // By title, then by author keeping that order: each name's key made once.
    OrdenaPorNombre(r, [](const CancionRepetida& c) -> const QString& { return c.cancion; });
    OrdenaPorNombre(r, [](const CancionRepetida& c) -> const QString& { return c.autor; });
    return r;
}
