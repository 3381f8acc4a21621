// The body of the full-folding step that both engines share: every key
// folded again without losing a row or leaving one that cannot be edited.
#include <QSet>
#include <utility>
#include <vector>

#include "store/catalogo.h"
#include "store/motor.h"
#include "store/pliegue.h"

namespace {

using Cambios = std::vector<std::pair<qint64, QString>>;

// CDs whose descriptions now fold alike are one CD: the first keeps its
// row, the others' songs move to it.
void juntaCds(Catalogo& bd)
{
    QHash<QString, qint64> primero;
    Cambios claves;
    std::vector<std::pair<qint64, qint64>> juntar;  // (CD that goes, CD it joins)
    bd.Recorre(QStringLiteral("select idcd, dscd, dscd_clave from tlcd order by idcd"), {}, [&](const QSqlQuery& q) {
        const qint64 id = q.value(0).toLongLong();
        const QString clave = Pliega(q.value(1).toString());
        const auto it = primero.constFind(clave);
        if (it != primero.cend())
            juntar.emplace_back(id, *it);
        else if (primero.insert(clave, id); clave != q.value(2).toString())
            claves.emplace_back(id, clave);
    });
    for (const auto& [va, a] : juntar) {
        bd.Ejecuta(QStringLiteral("update tlcancion set cdcd = ? where cdcd = ?"), {a, va});
        bd.Ejecuta(QStringLiteral("delete from tlcd where idcd = ?"), {va});
    }
    for (const auto& [id, clave] : claves)
        bd.Ejecuta(QStringLiteral("update tlcd set dscd_clave = ? where idcd = ?"), {clave, id});
}

// Rows of one place (the columns of lugar) whose texts now fold alike: the
// first by id keeps the plain key, each other one a key of its own. The
// select gives id, text, key, the place's columns and the row's number.
void apartaIguales(Catalogo& bd, const QString& select, int columnasLugar, const QString& actualiza)
{
    Cambios cambios;
    QString lugar;
    QSet<QString> tomadas;
    bd.Recorre(select, {}, [&](const QSqlQuery& q) {
        QString aqui;
        for (int i = 0; i < columnasLugar; ++i)
            aqui += q.value(3 + i).toString() + QLatin1Char('|');
        if (aqui != lugar) {
            lugar = aqui;
            tomadas.clear();
        }
        const qint64 id = q.value(0).toLongLong();
        QString clave = Pliega(q.value(1).toString());
        if (tomadas.contains(clave))
            clave = ClaveAparte(clave, q.value(3 + columnasLugar).toLongLong());
        if (tomadas.contains(clave))
            clave = ClaveAparte(clave, id);
        tomadas.insert(clave);
        if (clave != q.value(2).toString())
            cambios.emplace_back(id, clave);
    });
    for (const auto& [id, clave] : cambios)
        bd.Ejecuta(actualiza, {clave, id});
}

}  // namespace

QString ClaveAparte(const QString& clave, qint64 numero)
{
    return clave + QLatin1Char('\n') + QString::number(numero);
}

void PliegaDeNuevo(Catalogo& bd)
{
    juntaCds(bd);
    apartaIguales(bd,
                  QStringLiteral("select idcancion, dscancion, dscancion_clave, cddisco, cdautor, cdcd, wncancion"
                                 " from tlcancion order by cddisco, cdautor, cdcd, idcancion"),
                  3, QStringLiteral("update tlcancion set dscancion_clave = ? where idcancion = ?"));
    apartaIguales(bd,
                  QStringLiteral("select idobjeto, dspath, dspath_clave, dstabla, idtabla, idobjeto from tlobjetos"
                                 " order by dstabla, idtabla, idobjeto"),
                  2, QStringLiteral("update tlobjetos set dspath_clave = ? where idobjeto = ?"));
    // Every search text is folded again.
    bd.Ejecuta(QStringLiteral("insert into tlbusca_pendiente select idcancion from tlcancion c"
                              " where not exists (select 1 from tlbusca_pendiente p where p.idcancion = c.idcancion)"));
}
