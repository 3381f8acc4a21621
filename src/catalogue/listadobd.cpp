#include "catalogue/listadobd.h"

#include <QHash>
#include <algorithm>
#include <functional>

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

std::vector<ParAutorDisco> ParesAutorDisco(Catalogo& bd, qint64 iddisco, qint64 idautor, qint64 idcd,
                                           qint64 idinterprete)
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
    // From the songs to their discs, through the indexes on CD and author.
    if (idcd != 0) {
        select += QStringLiteral(" and iddisco in (select cddisco from tlcancion where cdcd = ?)");
        valores << idcd;
    }
    if (idinterprete != 0) {
        select += QStringLiteral(" and iddisco in (select cddisco from tlcancion where cdautor = ?)");
        valores << idinterprete;
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

namespace {

// Discs per statement: always as many placeholders, so one prepared
// statement serves every batch; the spare ones name no disc.
constexpr size_t kDiscosPorLectura = 250;

// Runs select once per batch of discos, the batch bound where the text
// says %1, then the extra values; fila gets each row with the disc's place.
void porLotes(Catalogo& bd, const std::vector<qint64>& discos, const QString& select, const QVariantList& mas,
              const std::function<void(size_t, Consulta&)>& fila)
{
    const QString sql = select.arg(QStringList(kDiscosPorLectura, QStringLiteral("?")).join(u','));
    for (size_t desde = 0; desde < discos.size(); desde += kDiscosPorLectura) {
        QHash<qint64, size_t> lugar;
        QVariantList valores;
        for (size_t i = desde; i < desde + kDiscosPorLectura; ++i) {
            if (i < discos.size()) {
                lugar.insert(discos[i], i);
                valores << discos[i];
            } else {
                valores << qint64(0);
            }
        }
        for (Consulta r = bd.Abre(sql, valores + mas); !r.Fin(); r.Siguiente())
            fila(lugar.value(r.Entero(QStringLiteral("disco"))), r);
    }
}

}  // namespace

std::vector<std::vector<CancionListado>> CancionesDeDiscos(Catalogo& bd, const std::vector<qint64>& discos,
                                                           qint64 idautor, qint64 idcd)
{
    QString select = QStringLiteral(
        "select c.cddisco as disco, c.wntime, c.dscancion, c.wncancion, c.cdautor, c.swvarios, a.dsautor"
        " from tlcancion c left join tlautor a on a.idautor = c.cdautor where c.cddisco in (%1)");
    QVariantList mas;
    if (idautor != 0) {
        select += QStringLiteral(" and c.cdautor = ?");
        mas << idautor;
    }
    if (idcd != 0) {
        select += QStringLiteral(" and c.cdcd = ?");
        mas << idcd;
    }
    select += QStringLiteral(" order by c.wncancion, c.idcancion");
    std::vector<std::vector<CancionListado>> canciones(discos.size());
    porLotes(bd, discos, select, mas, [&](size_t i, Consulta& r) {
        const bool varios = r.SiNo(QStringLiteral("swvarios"));
        canciones[i].push_back({r.Entero(QStringLiteral("wntime")), r.Texto(QStringLiteral("dscancion")),
                                r.Entero(QStringLiteral("wncancion")), r.Entero(QStringLiteral("cdautor")), varios,
                                varios ? r.Texto(QStringLiteral("dsautor")) : QString()});
    });
    // Songs of one position by title; such runs are short.
    for (auto& deDisco : canciones)
        for (auto i = deDisco.begin(); i != deDisco.end();) {
            auto fin = std::find_if(i, deDisco.end(), [&](const CancionListado& c) { return c.posicion != i->posicion; });
            std::stable_sort(i, fin,
                             [](const CancionListado& a, const CancionListado& b) { return AntesQue(a.titulo, b.titulo); });
            i = fin;
        }
    return canciones;
}

std::vector<std::vector<qint64>> ImagenesDeDiscos(Catalogo& bd, const std::vector<qint64>& discos)
{
    std::vector<std::vector<qint64>> ids(discos.size());
    porLotes(bd, discos,
             QStringLiteral("select idtabla as disco, idobjeto from tlobjetos where dstabla = 'd' and idtabla in (%1)"
                            " order by idobjeto"),
             {}, [&](size_t i, Consulta& r) { ids[i].push_back(r.Entero(QStringLiteral("idobjeto"))); });
    return ids;
}
