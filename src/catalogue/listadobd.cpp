#include "catalogue/listadobd.h"

#include "catalogue/catalogo.h"

namespace {

std::vector<NombreId> nombres(Catalogo& bd, const QString& select, const QVariantList& valores = {})
{
    std::vector<NombreId> lista;
    for (Consulta r = bd.Abre(select, valores); !r.Fin(); r.Siguiente())
        lista.push_back({r.Texto(QStringLiteral("nombre")), r.Entero(QStringLiteral("id"))});
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
    return nombres(bd, QStringLiteral("select dsautor as nombre, idautor as id from tlautor order by dsautor_std, idautor"));
}

std::vector<NombreId> DiscosOrdenados(Catalogo& bd, qint64 idautor)
{
    if (idautor == 0)
        return nombres(bd, QStringLiteral("select dsdisco as nombre, iddisco as id from tldisco order by dsdisco_std, iddisco"));
    return nombres(bd, QStringLiteral("select dsdisco as nombre, iddisco as id from tldisco where cdautord = ?"
                                      " order by dsdisco_std, iddisco"),
                   {idautor});
}

std::vector<NombreId> CdsOrdenados(Catalogo& bd)
{
    return nombres(bd, QStringLiteral("select dscd as nombre, idcd as id from tlcd order by dscd_clave, idcd"));
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
    QString select = QStringLiteral("select idautor, dsautor, iddisco, dsdisco from tlautor, tldisco"
                                    " where cdautord = idautor");
    QVariantList valores;
    if (iddisco != 0) {
        select += QStringLiteral(" and iddisco = ?");
        valores << iddisco;
    }
    if (idautor != 0) {
        select += QStringLiteral(" and (idautor = ? or dsautor = ?)");
        valores << idautor << QStringLiteral("<Varios Artistas>");
    }
    select += QStringLiteral(" order by dsautor_std, idautor, dsdisco_std, iddisco");
    std::vector<ParAutorDisco> pares;
    for (Consulta r = bd.Abre(select, valores); !r.Fin(); r.Siguiente())
        pares.push_back({r.Entero(QStringLiteral("idautor")), r.Texto(QStringLiteral("dsautor")),
                         r.Entero(QStringLiteral("iddisco")), r.Texto(QStringLiteral("dsdisco"))});
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
    select += QStringLiteral(" order by wncancion, dscancion_clave, idcancion");
    std::vector<CancionListado> canciones;
    for (Consulta r = bd.Abre(select, valores); !r.Fin(); r.Siguiente())
        canciones.push_back({r.Entero(QStringLiteral("wntime")), r.Texto(QStringLiteral("dscancion")),
                             r.Entero(QStringLiteral("wncancion")), r.Entero(QStringLiteral("cdautor")),
                             r.SiNo(QStringLiteral("swvarios"))});
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
