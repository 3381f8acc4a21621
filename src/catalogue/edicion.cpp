#include "catalogue/edicion.h"

#include <functional>

#include "catalogue/navegador.h"
#include "catalogue/nombres.h"
#include "common/textos.h"
#include "store/catalogo.h"

namespace {

void borra(Catalogo& bd, const FilaBD& fila)
{
    bd.Ejecuta(QStringLiteral("delete from tlcancion where idcancion = ?"), {IdCancion(fila.clave)});
}

QString actualiza(Catalogo& bd, const FilaBD& fila)
{
    const qint64 id = IdCancion(fila.clave);
    qint64 posicion = 0;
    const bool conPosicion = !fila.posicion.trimmed().isEmpty();
    // A typed position that the catalogue cannot hold is told, not dropped.
    if (conPosicion && !LeePosicion(fila.posicion, posicion))
        throw LodrinError(QStringLiteral("La posición «%1» de «%2» no es un número entero de -32768 a 32767")
                              .arg(fila.posicion, fila.cancion));
    QString autor = fila.autor;
    const qint64 idautor = DameAutor(bd, autor, true);
    qint64 dueno = idautor;
    if (fila.attrib == QLatin1String("v")) {
        QString varios = kVariosArtistas;
        dueno = DameAutor(bd, varios, true);
    }
    QString disco = fila.disco;
    const qint64 iddisco = DameDisco(bd, disco, dueno, true);
    // The title is stored as typed, but for its leading blanks.
    QString titulo = fila.cancion;
    while (titulo.startsWith(QLatin1Char(' ')))
        titulo.remove(0, 1);
    // A disc holds one song of each folded title: an edit that would give it
    // a second is refused at once, the same on every engine. Only a clash
    // with another program writing at the same moment is run again. A song
    // an older catalogue held beside another whose title now folds alike
    // keeps its own key while that other holds the plain one.
    const QString select = QStringLiteral("select count(*) from tlcancion c join tlcancion e on e.cdcd = c.cdcd"
                                          " where e.idcancion = ? and c.idcancion <> ? and c.dscancion_clave = ?"
                                          " and c.cddisco = ? and c.cdautor = ?");
    QString clave = Pliega(titulo);
    if (bd.PrimerEntero(select, {id, id, clave, iddisco, idautor}) > 0) {
        Consulta r = bd.Abre(QStringLiteral("select dscancion_clave from tlcancion where idcancion = ?"
                                            " and cddisco = ? and cdautor = ?"),
                             {id, iddisco, idautor});
        const QString propia = r.Fin() ? QString() : r.Texto(QStringLiteral("dscancion_clave"));
        if (!propia.startsWith(clave + QLatin1Char('\n')) || bd.PrimerEntero(select, {id, id, propia, iddisco, idautor}) > 0)
            throw LodrinError(QStringLiteral("ya hay una canción «%1» en ese disco").arg(titulo));
        clave = propia;
    }

    if (conPosicion) {
        bd.Ejecuta(QStringLiteral("update tlcancion set dscancion = ?, dscancion_clave = ?, cddisco = ?, cdautor = ?,"
                                  " wncancion = ? where idcancion = ?"),
                   {titulo, clave, iddisco, idautor, posicion, id});
        return QString::number(posicion);
    }
    bd.Ejecuta(QStringLiteral("update tlcancion set dscancion = ?, dscancion_clave = ?, cddisco = ?, cdautor = ?"
                              " where idcancion = ?"),
               {titulo, clave, iddisco, idautor, id});
    Consulta r = bd.Abre(QStringLiteral("select wncancion from tlcancion where idcancion = ?"), {id});
    return r.Fin() ? fila.posicion : QString::number(r.Entero(QStringLiteral("wncancion")));
}

bool igual(const FilaBD& a, const FilaBD& b)
{
    return a.posicion == b.posicion && a.attrib == b.attrib && a.autor == b.autor && a.disco == b.disco &&
           a.cancion == b.cancion && a.cd == b.cd;
}

// Runs hacer on the song only when the catalogue still holds it as shown.
bool siSigueIgual(Catalogo& bd, const QString& que, const FilaBD& mostrada, CancionAhora& ahora,
                  const std::function<void()>& hacer)
{
    const bool hecho = Operacion(bd, que, [&](Transaccion&) {
        ahora.existe = LeeCancion(bd, mostrada.clave, ahora.fila);
        if (!ahora.existe || !igual(ahora.fila, mostrada))
            return false;
        hacer();
        return true;
    });
    if (hecho)
        ahora.existe = LeeCancion(bd, mostrada.clave, ahora.fila);
    return hecho;
}

}  // namespace

const QString kCancionCambiada = QStringLiteral("la canción ha cambiado desde que se mostró");

bool LeeCancion(Catalogo& bd, const QString& clave, FilaBD& ahora)
{
    Consulta r = bd.Abre(
        QStringLiteral("select c.idcancion as idcancion, c.wncancion as wncancion, c.swvarios as swvarios,"
                       " c.cdautor as cdautor, a.dsautor as dsautor, c.cddisco as cddisco, d.dsdisco as dsdisco,"
                       " c.dscancion as dscancion, k.dscd as dscd from tlcancion c"
                       " left join tlautor a on a.idautor = c.cdautor left join tldisco d on d.iddisco = c.cddisco"
                       " left join tlcd k on k.idcd = c.cdcd where c.idcancion = ?"),
        {IdCancion(clave)});
    if (r.Fin())
        return false;
    ahora = FilaDeCancion(r);
    return true;
}

bool BorraCancionMostrada(Catalogo& bd, const FilaBD& mostrada, CancionAhora& ahora)
{
    return siSigueIgual(bd, QStringLiteral("borrar las canciones"), mostrada, ahora, [&] { borra(bd, mostrada); });
}

bool ActualizaCancionMostrada(Catalogo& bd, const FilaBD& fila, const FilaBD& mostrada, CancionAhora& ahora)
{
    return siSigueIgual(bd, QStringLiteral("cambiar las canciones"), mostrada, ahora, [&] { actualiza(bd, fila); });
}

bool LeePosicion(const QString& texto, qint64& posicion)
{
    bool ok = false;
    const int n = texto.trimmed().toInt(&ok);
    if (!ok || !PosicionCabe(n))
        return false;
    posicion = n;
    return true;
}

void BorraCancion(Catalogo& bd, const FilaBD& fila) { BorraCanciones(bd, {fila}); }

void BorraCanciones(Catalogo& bd, const std::vector<FilaBD>& filas)
{
    Operacion(bd, QStringLiteral("borrar las canciones"), [&](Transaccion&) {
        for (const FilaBD& f : filas)
            borra(bd, f);
    });
}

QString ActualizaCancion(Catalogo& bd, const FilaBD& fila) { return ActualizaCanciones(bd, {fila}).front(); }

std::vector<QString> ActualizaCanciones(Catalogo& bd, const std::vector<FilaBD>& filas)
{
    return Operacion(bd, QStringLiteral("cambiar las canciones"), [&](Transaccion&) {
        std::vector<QString> posiciones;
        for (const FilaBD& f : filas)
            posiciones.push_back(actualiza(bd, f));
        return posiciones;
    });
}
