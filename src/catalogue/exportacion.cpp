#include "catalogue/exportacion.h"

#include <QHash>
#include <QSaveFile>
#include <QSqlQuery>
#include <functional>

#include "common/lodrinerror.h"
#include "store/catalogo.h"

const QStringList kCabeceraCsv = {QStringLiteral("CD"),      QStringLiteral("Serie"),    QStringLiteral("Autor"),
                                  QStringLiteral("Disco"),   QStringLiteral("Canción"),  QStringLiteral("Posición"),
                                  QStringLiteral("Duración"), QStringLiteral("Ruta")};

namespace {

const QString kSelect = QStringLiteral(
    "select c.idcancion as idcancion, cd.dscd as dscd, cd.sercd as sercd, a.dsautor as dsautor, d.dsdisco as dsdisco,"
    " c.dscancion as dscancion, c.wncancion as wncancion, c.wntime as wntime, c.dspath as dspath"
    " from tlcancion c left join tlcd cd on cd.idcd = c.cdcd left join tlautor a on a.idautor = c.cdautor"
    " left join tldisco d on d.iddisco = c.cddisco");

QString Campo(const QString& texto)
{
    if (!texto.contains(QLatin1Char(',')) && !texto.contains(QLatin1Char('"')) && !texto.contains(QLatin1Char('\n')) &&
        !texto.contains(QLatin1Char('\r')))
        return texto;
    QString t = texto;
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}

QString Linea(const QSqlQuery& q)
{
    const qint64 s = q.value(7).toLongLong();
    const QLatin1Char cero('0');
    const QString tiempo = s > 0 ? QStringLiteral("%1:%2").arg(s / 60, 2, 10, cero).arg(s % 60, 2, 10, cero) : QString();
    return LineaCsv({q.value(1).toString(), q.value(2).toString(), q.value(3).toString(), q.value(4).toString(),
                     q.value(5).toString(), q.value(6).toString(), tiempo, q.value(8).toString()});
}

// Writes the header and what escribe gives into fichero, whole or not at all.
qint64 Escribe(const QString& fichero, const std::function<qint64(QSaveFile&)>& escribe)
{
    QSaveFile f(fichero);
    if (!f.open(QIODevice::WriteOnly))
        throw LodrinError(QStringLiteral("No se puede escribir el fichero %1: %2").arg(fichero, f.errorString()));
    f.write(LineaCsv(kCabeceraCsv).toUtf8());
    const qint64 n = escribe(f);
    if (!f.commit())
        throw LodrinError(QStringLiteral("No se puede escribir el fichero %1: %2").arg(fichero, f.errorString()));
    return n;
}

}  // namespace

QString LineaCsv(const QStringList& campos)
{
    QStringList c;
    c.reserve(campos.size());
    for (const QString& t : campos)
        c << Campo(t);
    return c.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

qint64 ExportaCanciones(Catalogo& bd, const QString& fichero)
{
    return Escribe(fichero, [&](QSaveFile& f) {
        qint64 n = 0;
        LecturaCatalogo lectura(bd);
        bd.Recorre(kSelect + QStringLiteral(" order by c.cdcd, c.cddisco, c.wncancion, c.idcancion"), {},
                   [&](const QSqlQuery& q) {
                       f.write(Linea(q).toUtf8());
                       ++n;
                   });
        return n;
    });
}

qint64 ExportaCanciones(Catalogo& bd, const QString& fichero, const std::vector<qint64>& idcanciones)
{
    return Escribe(fichero, [&](QSaveFile& f) {
        QHash<qint64, QString> lineas;
        LecturaCatalogo lectura(bd);
        // A few hundred ids a statement, each bound.
        constexpr size_t kTanda = 500;
        for (size_t i = 0; i < idcanciones.size(); i += kTanda) {
            const size_t fin = std::min(idcanciones.size(), i + kTanda);
            QVariantList valores;
            QStringList marcas;
            for (size_t j = i; j < fin; ++j) {
                valores << idcanciones[j];
                marcas << QStringLiteral("?");
            }
            bd.Recorre(kSelect + QStringLiteral(" where c.idcancion in (%1)").arg(marcas.join(QLatin1Char(','))),
                       valores, [&](const QSqlQuery& q) { lineas.insert(q.value(0).toLongLong(), Linea(q)); });
        }
        qint64 n = 0;
        for (qint64 id : idcanciones)
            if (lineas.contains(id)) {
                f.write(lineas.value(id).toUtf8());
                ++n;
            }
        return n;
    });
}
