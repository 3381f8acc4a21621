#pragma once
// Fills a test catalogue the way recording does: find-or-insert of the CD,
// author, disc and song, and pictures copied from real files.
#include <QString>

#include "catalogue/nombres.h"
#include "catalogue/objetos.h"
#include "search/busqueda.h"
#include "store/catalogo.h"

struct CancionPrueba {
    qint64 idcd = 0, idautor = 0, iddisco = 0, idcancion = 0;
};

// A song of an author's own disc, or of a various-artists disc when varios is on.
inline CancionPrueba GrabaCancionPrueba(Catalogo& bd, const QString& cd, const QString& autor, const QString& disco,
                                        const QString& titulo, qint64 posicion, bool varios = false)
{
    CancionPrueba c;
    c.idcd = DameCd(bd, cd, QStringLiteral("1234-ABCD"), true);
    QString a = autor;
    c.idautor = DameAutor(bd, a, true);
    qint64 dueno = c.idautor;
    if (varios) {
        QString v = QStringLiteral("<Varios Artistas>");
        dueno = DameAutor(bd, v, true);
    }
    QString d = disco;
    c.iddisco = DameDisco(bd, d, dueno, true);
    QString t = titulo;
    QString ruta = autor + QStringLiteral("\\") + disco + QStringLiteral("\\") + titulo + QStringLiteral(".mp3");
    c.idcancion = DameCancion(bd, t, c.idautor, c.iddisco, c.idcd, posicion, ruta, varios, true, 180);
    return c;
}

// Stores a cover of a disc from a real file; returns its idobjeto.
inline qint64 GrabaPortadaPrueba(Catalogo& bd, const QString& dirPrograma, qint64 iddisco, const QString& origen,
                                 const QString& relativa)
{
    return GrabaObjeto(bd, dirPrograma, QStringLiteral("d"), iddisco, relativa, origen, true);
}

// The titles of the songs a search found, in its order.
inline QStringList Titulos(const ResultadoBusqueda& r)
{
    QStringList t;
    for (const CancionEncontrada& c : r.filas)
        t << c.fila.cancion;
    return t;
}
