#include "catalogue/navegador.h"

#include <QHash>
#include <QSet>

#include "catalogue/catalogo.h"

namespace {

const QString kVacio = QStringLiteral("<vacio>");
const QString kVarios = QStringLiteral("<Varios Artistas>");
constexpr qint64 kGrupoVarios = -98;
constexpr qint64 kNinguno = -99;

QString primerTexto(Catalogo& bd, const QString& select, const QString& columna)
{
    Consulta r = bd.Abre(select);
    return r.Fin() ? QString() : r.Texto(columna);
}

QString nombreAutor(Catalogo& bd, qint64 idautor)
{
    return primerTexto(bd, QStringLiteral("select dsautor from tlautor where idautor = ") + sql::Entero(idautor),
                       QStringLiteral("dsautor"));
}

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

std::vector<NodoBD> ArbolBD(Catalogo& bd, int orden, AvanceCarga* avance)
{
    QString select;
    QString grupo;
    switch (orden) {
    case 1:
        select = QStringLiteral("SELECT DSAUTOR,idAUTOR FROM TLAUTOR ORDER BY DSAUTOR_std");
        grupo = QStringLiteral("GrupoAutor");
        break;
    case 2:
        select = QStringLiteral("SELECT DSDISCO,IDDISCO,cdautord FROM TLDISCO ORDER BY DSDISCO_std");
        grupo = QStringLiteral("grupodisco");
        break;
    case 3:
        select = QStringLiteral("SELECT DSCD,IDCD FROM TLCD ORDER BY DSCD");
        grupo = QStringLiteral("GrupoCD");
        break;
    default:
        return {};
    }

    std::vector<NodoBD> nodos;
    nodos.push_back({QString(), QStringLiteral("BD"), grupo, grupo, 0});

    Consulta r = bd.Abre(select);
    nodos.reserve(size_t(r.RecordCount()) + 1);
    if (avance)
        avance->Empieza(r.RecordCount() + 1);
    // The discs' authors are read in one go: one statement per disc costs
    // seconds in a large catalogue. An author not found gives an empty name.
    QHash<qint64, QString> autores;
    if (orden == 2)
        for (Consulta a = bd.Abre(QStringLiteral("select idautor, dsautor from tlautor")); !a.Fin(); a.Siguiente())
            autores.insert(a.Entero(QStringLiteral("idautor")), a.Texto(QStringLiteral("dsautor")));
    for (; !r.Fin(); r.Siguiente()) {
        NodoBD n;
        n.padre = QStringLiteral("BD");
        switch (orden) {
        case 1:
            n.clave = QStringLiteral("BDau#") + sql::Entero(r.Entero(QStringLiteral("idautor")));
            n.texto = r.Texto(QStringLiteral("dsautor"));
            n.imagen = QStringLiteral("autor");
            break;
        case 2: {
            const qint64 iddisco = r.Entero(QStringLiteral("iddisco"));
            const QString autor = autores.value(r.Entero(QStringLiteral("cdautord")));
            n.clave = QStringLiteral("BDdi#") + sql::Entero(iddisco);
            n.texto = r.Texto(QStringLiteral("dsdisco")) + QStringLiteral("(") + autor + QStringLiteral(")");
            n.imagen = QStringLiteral("disco");
            n.tag = iddisco;
            break;
        }
        default:
            n.clave = QStringLiteral("BDcd#") + sql::Entero(r.Entero(QStringLiteral("idcd")));
            n.texto = r.Texto(QStringLiteral("dscd"));
            n.imagen = QStringLiteral("cd");
            break;
        }
        nodos.push_back(std::move(n));
        if (avance)
            avance->Avanza();
    }
    if (avance)
        avance->Termina();
    return nodos;
}

ContenidoBD ListaBD(Catalogo& bd, const QString& clave, AvanceCarga* avance)
{
    ContenidoBD c;
    const QString marca = clave.left(5);
    const bool porAutor = marca == QLatin1String("BDau#");
    const bool porDisco = marca == QLatin1String("BDdi#");
    const bool porCd = marca == QLatin1String("BDcd#");
    if (!porAutor && !porDisco && !porCd)
        return c;

    const QString id = sql::Entero(IdDeClave(clave));
    QString select = QStringLiteral("select cdcd, cddisco, cdautor, dscancion, idcancion, dspath, wncancion, swvarios ") +
                     QStringLiteral(" from tlcancion ");
    if (porAutor)
        select += QStringLiteral(" where cdautor = ") + id + QStringLiteral(" order by cddisco");
    else if (porDisco)
        select += QStringLiteral(" where cddisco = ") + id + QStringLiteral(" order by cdautor");
    else
        select += QStringLiteral(" where cdcd = ") + id + QStringLiteral(" order by cdautor, cddisco");

    Consulta r = bd.Abre(select);
    if (r.Fin())
        return c;
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

        if (cdcd != cdAnterior)
            cd = primerTexto(bd, QStringLiteral("select dscd from tlcd where idcd = ") + sql::Entero(cdcd),
                             QStringLiteral("dscd"));
        if (cddisco != discoAnterior) {
            if (!sinId(cddisco)) {
                disco = primerTexto(bd,
                                    QStringLiteral("select dsdisco from tldisco where iddisco = ") + sql::Entero(cddisco),
                                    QStringLiteral("dsdisco"));
                conImagen = !bd.Abre(QStringLiteral("select idobjeto from tlobjetos where dstabla = 'd' and ") +
                                     QStringLiteral("idtabla = ") + sql::Entero(cddisco))
                                 .Fin();
            } else {
                disco = kVacio;
                conImagen = false;
            }
        }
        if (cdautor != autorAnterior)
            autor = sinId(cdautor) ? kVacio : nombreAutor(bd, cdautor);

        FilaBD f;
        f.clave = QStringLiteral("ca#") + sql::Entero(r.Entero(QStringLiteral("idcancion")));
        f.posicion = sql::Entero(r.Entero(QStringLiteral("wncancion")));
        f.attrib = varios ? QStringLiteral("v") : QStringLiteral("f");
        f.autor = autor;
        f.disco = disco;
        f.cancion = r.Texto(QStringLiteral("dscancion"));
        f.cd = cd;
        c.filas.push_back(std::move(f));

        const QString imagenDisco = conImagen ? QStringLiteral("cd") : QStringLiteral("disco");
        const bool otroDisco = cddisco != discoAnterior;
        const bool otroAutor = cdautor != autorAnterior;
        const bool otroCd = cdcd != cdAnterior;
        if (porAutor) {
            if (otroDisco || otroAutor)
                c.nodos.push_back({clave, clave + QStringLiteral("di#") + sql::Entero(cddisco),
                                   disco + QStringLiteral("(") + cd + QStringLiteral(")"), imagenDisco, cddisco});
        } else if (porDisco) {
            if (otroAutor || otroDisco)
                c.nodos.push_back({clave, clave + QStringLiteral("au#") + sql::Entero(cdautor),
                                   autor + QStringLiteral("(") + cd + QStringLiteral(")"), QStringLiteral("autor"), 0});
        } else {
            QString nombre = autor;
            if (varios) {
                cdautor = kGrupoVarios;
                nombre = kVarios;
            }
            const bool otroAutorCd = cdautor != autorAnterior;
            const QString claveAutor = clave + QStringLiteral("au#") + sql::Entero(cdautor);
            const QString claveDisco = claveAutor + QStringLiteral("di#") + sql::Entero(cddisco);
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
            avance->Avanza();
    }
    if (avance)
        avance->Termina();
    return c;
}
