#include "catalogue/listadobd.h"

#include "common/orden.h"
#include "common/textos.h"
#include "store/catalogo.h"

namespace {

// The rows of a select of nombre, id and orden, in the Spanish order of the
// names as shown (the database compares bytes, and the standardised orden,
// without blanks and punctuation, is for matching); equal ones keep the
// select's order.
std::vector<NombreId> nombres(Catalogo& bd, const QString& select, const QVariantList& valores = {})
{
    std::vector<std::pair<NombreId, QString>> filas;
    for (Consulta r = bd.Abre(select, valores); !r.Fin(); r.Siguiente())
        filas.push_back({{r.Texto(QStringLiteral("nombre")), r.Entero(QStringLiteral("id"))},
                         r.Texto(QStringLiteral("orden"))});
    OrdenaPorNombre(filas, [](const auto& f) -> const QString& { return f.first.nombre; });
    std::vector<NombreId> lista;
    lista.reserve(filas.size());
    for (auto& f : filas)
        lista.push_back(std::move(f.first));
    return lista;
}

QString nombre(Catalogo& bd, const QString& select, qint64 id)
{
    Consulta r = bd.Abre(select, {id});
    return r.Fin() ? QString() : r.Texto(QStringLiteral("nombre"));
}

}  // namespace

std::vector<NombreId> AutoresOrdenados(Catalogo& bd)
{
    return nombres(bd, QStringLiteral("select dsautor as nombre, idautor as id, dsautor_std as orden from tlautor"
                                      " order by idautor"));
}

std::vector<NombreId> DiscosOrdenados(Catalogo& bd, qint64 idautor)
{
    if (idautor == 0)
        return nombres(bd, QStringLiteral("select dsdisco as nombre, iddisco as id, dsdisco_std as orden from tldisco"
                                          " order by iddisco"));
    return nombres(bd, QStringLiteral("select dsdisco as nombre, iddisco as id, dsdisco_std as orden from tldisco"
                                      " where cdautord = ? order by iddisco"),
                   {idautor});
}

std::vector<NombreId> CdsOrdenados(Catalogo& bd)
{
    return nombres(bd, QStringLiteral("select dscd as nombre, idcd as id, dscd as orden from tlcd order by idcd"));
}

QString NombreDeAutor(Catalogo& bd, qint64 idautor)
{
    return nombre(bd, QStringLiteral("select dsautor as nombre from tlautor where idautor = ?"), idautor);
}

QString NombreDeDisco(Catalogo& bd, qint64 iddisco)
{
    return nombre(bd, QStringLiteral("select dsdisco as nombre from tldisco where iddisco = ?"), iddisco);
}

QString DescripcionDeCd(Catalogo& bd, qint64 idcd)
{
    return nombre(bd, QStringLiteral("select dscd as nombre from tlcd where idcd = ?"), idcd);
}

std::vector<ParAutorDisco> ParesAutorDisco(Catalogo& bd, qint64 iddisco, qint64 idautor)
{
    QString select = QStringLiteral("select idautor, dsautor, iddisco, dsdisco, dsautor_std, dsdisco_std"
                                    " from tlautor, tldisco"
                                    " where cdautord = idautor");
    QVariantList valores;
    if (iddisco != 0) {
        select += QStringLiteral(" and iddisco = ?");
        valores << iddisco;
    }
    if (idautor != 0) {
        select += QStringLiteral(" and (idautor = ? or dsautor = ?)");
        valores << idautor << kVariosArtistas;
    }
    select += QStringLiteral(" order by idautor, iddisco");
    std::vector<ParAutorDisco> pares;
    for (Consulta r = bd.Abre(select, valores); !r.Fin(); r.Siguiente())
        pares.push_back({r.Entero(QStringLiteral("idautor")), r.Texto(QStringLiteral("dsautor")),
                         r.Entero(QStringLiteral("iddisco")), r.Texto(QStringLiteral("dsdisco"))});
    // By author, and by disc within an author, as the names are shown: the
    // second sort keeps the first's order.
    OrdenaPorNombre(pares, [](const ParAutorDisco& p) -> const QString& { return p.disco; });
    OrdenaPorNombre(pares, [](const ParAutorDisco& p) -> const QString& { return p.autor; });
    return pares;
}

std::vector<CancionListado> CancionesDeDisco(Catalogo& bd, qint64 iddisco, qint64 idautor, qint64 idcd)
{
    QString select = QStringLiteral("select wntime, dscancion, wncancion, cdautor, swvarios from tlcancion"
                                    " where cddisco = ?");
    QVariantList valores{iddisco};
    if (idautor != 0) {
        select += QStringLiteral(" and cdautor = ?");
        valores << idautor;
    }
    if (idcd != 0) {
        select += QStringLiteral(" and cdcd = ?");
        valores << idcd;
    }
    select += QStringLiteral(" order by wncancion, idcancion");
    std::vector<CancionListado> canciones;
    for (Consulta r = bd.Abre(select, valores); !r.Fin(); r.Siguiente())
        canciones.push_back({r.Entero(QStringLiteral("wntime")), r.Texto(QStringLiteral("dscancion")),
                             r.Entero(QStringLiteral("wncancion")), r.Entero(QStringLiteral("cdautor")),
                             r.SiNo(QStringLiteral("swvarios"))});
    // Songs of one position by title; such runs are short.
    for (auto i = canciones.begin(); i != canciones.end();) {
        auto fin = std::find_if(i, canciones.end(), [&](const CancionListado& c) { return c.posicion != i->posicion; });
        std::stable_sort(i, fin, [](const CancionListado& a, const CancionListado& b) { return AntesQue(a.titulo, b.titulo); });
        i = fin;
    }
    return canciones;
}

std::vector<qint64> ImagenesDeDisco(Catalogo& bd, qint64 iddisco)
{
    std::vector<qint64> ids;
    for (Consulta r = bd.Abre(QStringLiteral("select idobjeto from tlobjetos where dstabla = 'd' and idtabla = ?"
                                             " order by idobjeto"),
                              {iddisco});
         !r.Fin(); r.Siguiente())
        ids.push_back(r.Entero(QStringLiteral("idobjeto")));
    return ids;
}
