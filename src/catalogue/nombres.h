#pragma once
#include <QString>
#include <QVariantList>
#include <utility>
#include <vector>

#include "store/pliegue.h"

class Catalogo;

// The standardised form of a name (the lookup key of authors and discs):
// removal set taken out, upper-cased, accented vowels folded. Replaces the
// caller's text by its quoted form (leading blanks gone, quotes doubled).
QString Estandariza(QString& nombre);

// Find-or-insert of the catalogue's names. Each takes its name in-out (it
// comes back quoted) and returns the id, as the catalogue store describes.
qint64 DameAutor(Catalogo& bd, QString& nombre, bool crear);
qint64 DameDisco(Catalogo& bd, QString& nombre, qint64 idautor, bool crear);
// DameAutor and DameDisco with crear for many names at once (the names of a
// CD being recorded): the ids in the order of the names, each name as
// DameAutor would store it.
std::vector<qint64> DameAutores(Catalogo& bd, const QStringList& nombres);
std::vector<qint64> DameDiscos(Catalogo& bd, const std::vector<std::pair<QString, qint64>>& discos);
qint64 DameCd(Catalogo& bd, QString descripcion, QString serial, bool crear);
qint64 DameCancion(Catalogo& bd, QString& titulo, qint64 idautor, qint64 iddisco, qint64 idcd,
                   qint64 posicion, QString& ruta, bool varios, bool crear, qint64 segundos);
// DameCancion with crear for the songs of a CD being recorded, their ids not
// needed: cancion gathers each song's row (none for an empty title), and
// graba adds every row whose song is not there yet, in order.
struct CancionesNuevas {
    void Anade(QString titulo, qint64 idautor, qint64 iddisco, qint64 idcd, qint64 posicion, const QString& ruta,
               bool varios, qint64 segundos);
    void Graba(Catalogo& bd);
    std::vector<QVariantList> filas;
};

// Whether a track position fits the catalogue's 16-bit positions; recording
// and edits accept the same range.
constexpr bool PosicionCabe(qint64 posicion) { return posicion >= -32768 && posicion <= 32767; }

// The author's id in the catalogue for a name, or 0: authors only chosen
// while decoding do not count.
qint64 AutorCatalogado(Catalogo& bd, const QString& nombre);
