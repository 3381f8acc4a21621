#include "catalogue/navegador.h"

#include <QSet>

#include "common/orden.h"
#include "common/textos.h"
#include "store/catalogo.h"

namespace {

constexpr qint64 kGrupoVarios = -98;
constexpr qint64 kNinguno = -99;

bool sinId(qint64 id) { return id == 0 || id == -1; }

}  // namespace

qint64 IdDeClave(const QString& clave) { return clave.mid(5).toLongLong(); }

int ColumnaOrdenArbol(int orden)
{
    switch (orden) {
    case 2: return columnaBD::kDisco;
    case 3: return columnaBD::kCd;
    default: return -1;
    }
}

std::vector<NodoBD> ArbolBD(Catalogo& bd, int orden, Avance* avance)
{
    QString select;
    QString grupo;
    switch (orden) {
    case 1:
        select = QStringLiteral("SELECT DSAUTOR,idAUTOR,dsautor_std as orden FROM TLAUTOR ORDER BY idautor");
        grupo = QStringLiteral("GrupoAutor");
        break;
    case 2:
        // Each disc comes with its author's name: one statement, not one per disc.
        select = QStringLiteral("select d.dsdisco as dsdisco, d.iddisco as iddisco, a.dsautor as dsautor,"
                                " d.dsdisco_std as orden"
                                " from tldisco d left join tlautor a on a.idautor = d.cdautord"
                                " order by d.cdautord, d.iddisco");
        grupo = QStringLiteral("grupodisco");
        break;
    case 3:
        select = QStringLiteral("SELECT DSCD,IDCD,dscd as orden FROM TLCD ORDER BY idcd");
        grupo = QStringLiteral("GrupoCD");
        break;
    default:
        return {};
    }

    std::vector<NodoBD> nodos;
    nodos.push_back({QString(), QStringLiteral("BD"), grupo, grupo, 0});

    Consulta r = bd.Abre(select);
    // The first level in Spanish order of the texts shown; the database
    // would compare bytes.
    std::vector<std::pair<QString, NodoBD>> hijos;
    hijos.reserve(size_t(r.RecordCount()));
    int leidas = 0;
    if (avance)
        avance->Empieza(r.RecordCount() + 1);
    for (; !r.Fin(); r.Siguiente()) {
        NodoBD n;
        n.padre = QStringLiteral("BD");
        switch (orden) {
        case 1:
            n.clave = QStringLiteral("BDau#") + QString::number(r.Entero(QStringLiteral("idautor")));
            n.texto = r.Texto(QStringLiteral("dsautor"));
            n.imagen = QStringLiteral("autor");
            break;
        case 2: {
            const qint64 iddisco = r.Entero(QStringLiteral("iddisco"));
            const QString autor = r.Texto(QStringLiteral("dsautor"));  // empty when not found
            n.clave = QStringLiteral("BDdi#") + QString::number(iddisco);
            n.texto = r.Texto(QStringLiteral("dsdisco")) + QStringLiteral("(") + autor + QStringLiteral(")");
            n.imagen = QStringLiteral("disco");
            n.tag = iddisco;
            break;
        }
        default:
            n.clave = QStringLiteral("BDcd#") + QString::number(r.Entero(QStringLiteral("idcd")));
            n.texto = r.Texto(QStringLiteral("dscd"));
            n.imagen = QStringLiteral("cd");
            break;
        }
        QString texto = n.texto;
        hijos.push_back({std::move(texto), std::move(n)});
        if (avance)
            avance->Avanza(++leidas);
    }
    OrdenaPorNombre(hijos, [](const auto& h) -> const QString& { return h.first; });
    nodos.reserve(hijos.size() + 1);
    for (auto& h : hijos)
        nodos.push_back(std::move(h.second));
    if (avance)
        avance->Termina();
    return nodos;
}

ContenidoBD ListaBD(Catalogo& bd, const QString& clave, Avance* avance)
{
    ContenidoBD c;
    c.clave = clave;
    const QString marca = clave.left(5);
    const bool porAutor = marca == QLatin1String("BDau#");
    const bool porDisco = marca == QLatin1String("BDdi#");
    const bool porCd = marca == QLatin1String("BDcd#");
    if (!porAutor && !porDisco && !porCd)
        return c;

    // One joined select gives each song with its CD, disc and author names and
    // whether its disc has a picture. Ties keep the order of recording.
    QString select = QStringLiteral(
        "select c.cdcd as cdcd, c.cddisco as cddisco, c.cdautor as cdautor, c.dscancion as dscancion,"
        " c.idcancion as idcancion, c.wncancion as wncancion, c.swvarios as swvarios, k.dscd as dscd,"
        " d.dsdisco as dsdisco, a.dsautor as dsautor,"
        " exists (select 1 from tlobjetos o where o.dstabla = 'd' and o.idtabla = c.cddisco) as conimagen"
        " from tlcancion c left join tlcd k on k.idcd = c.cdcd left join tldisco d on d.iddisco = c.cddisco"
        " left join tlautor a on a.idautor = c.cdautor");
    if (porAutor)
        select += QStringLiteral(" where c.cdautor = ? order by c.cddisco, c.idcancion");
    else if (porDisco)
        select += QStringLiteral(" where c.cddisco = ? order by c.cdautor, c.idcancion");
    else
        select += QStringLiteral(" where c.cdcd = ? order by c.cdautor, c.cddisco, c.idcancion");

    Consulta r = bd.Abre(select, {IdDeClave(clave)});
    if (r.Fin())
        return c;
    int leidas = 0;
    if (avance)
        avance->Empieza(r.RecordCount());
    if (porAutor)
        c.columnaOrden = columnaBD::kAutor;
    c.filas.reserve(size_t(r.RecordCount()));

    qint64 cdAnterior = kNinguno, discoAnterior = kNinguno, autorAnterior = kNinguno;
    QString cd, disco, autor;
    bool conImagen = false;
    // The nodes added under a CD in this expansion; an expanded node is never
    // expanded again, so no other node can carry these keys.
    QSet<QString> claves;

    for (; !r.Fin(); r.Siguiente()) {
        const qint64 cdcd = r.Entero(QStringLiteral("cdcd"));
        const qint64 cddisco = r.Entero(QStringLiteral("cddisco"));
        qint64 cdautor = r.Entero(QStringLiteral("cdautor"));
        const bool varios = r.SiNo(QStringLiteral("swvarios"));

        FilaBD f = FilaDeCancion(r);
        cd = f.cd;
        disco = f.disco;
        autor = f.autor;
        conImagen = !sinId(cddisco) && r.SiNo(QStringLiteral("conimagen"));
        c.filas.push_back(std::move(f));

        const QString imagenDisco = conImagen ? QStringLiteral("cd") : QStringLiteral("disco");
        const bool otroDisco = cddisco != discoAnterior;
        const bool otroAutor = cdautor != autorAnterior;
        const bool otroCd = cdcd != cdAnterior;
        if (porAutor) {
            if (otroDisco || otroAutor)
                c.nodos.push_back({clave, clave + QStringLiteral("di#") + QString::number(cddisco),
                                   disco + QStringLiteral("(") + cd + QStringLiteral(")"), imagenDisco, cddisco});
        } else if (porDisco) {
            if (otroAutor || otroDisco)
                c.nodos.push_back({clave, clave + QStringLiteral("au#") + QString::number(cdautor),
                                   autor + QStringLiteral("(") + cd + QStringLiteral(")"), QStringLiteral("autor"), 0});
        } else {
            QString nombre = autor;
            if (varios) {
                cdautor = kGrupoVarios;
                nombre = kVariosArtistas;
            }
            const bool otroAutorCd = cdautor != autorAnterior;
            const QString claveAutor = clave + QStringLiteral("au#") + QString::number(cdautor);
            const QString claveDisco = claveAutor + QStringLiteral("di#") + QString::number(cddisco);
            if ((otroAutorCd || otroCd) && !claves.contains(claveAutor)) {
                c.nodos.push_back({clave, claveAutor, nombre,
                                   varios ? QStringLiteral("GrupoAutor") : QStringLiteral("autor"), 0});
                claves.insert(claveAutor);
            }
            if ((otroDisco || otroAutorCd || otroCd) && !claves.contains(claveDisco)) {
                c.nodos.push_back({claveAutor, claveDisco, disco, imagenDisco, cddisco});
                claves.insert(claveDisco);
            }
        }

        cdAnterior = cdcd;
        discoAnterior = cddisco;
        autorAnterior = cdautor;
        if (avance)
            avance->Avanza(++leidas);
    }
    if (avance)
        avance->Termina();
    return c;
}
