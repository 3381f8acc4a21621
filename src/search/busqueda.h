#pragma once
#include <QString>
#include <QStringList>
#include <limits>
#include <vector>

#include "store/filabd.h"
#include "store/pliegue.h"

class Catalogo;

// Finding songs anywhere in the catalogue: every word typed must be in the
// author, the disc, the title or the CD description, in any order, without
// regard to case or accents.

// How many songs the catalogue list shows of a search.
constexpr int kLimiteBusqueda = 1000;

// A song found: the row as the catalogue list shows it (its key serves F2
// and Delete as a browsed row's does), the disc whose cover goes with it
// (0 or -1 for none) and its playing time.
struct CancionEncontrada {
    FilaBD fila;
    qint64 iddisco = 0;
    qint64 segundos = 0;
};

struct ResultadoBusqueda {
    QString texto;                         // what was searched for
    std::vector<CancionEncontrada> filas;  // at most `limite`, in the list's order
    qint64 total = 0;                      // how many songs hold every word
};

// The songs holding every word of texto and how many there are in all. When
// there are more than `limite`, the first `limite` recorded are given. They
// come sorted as the catalogue list sorts by the column columnaOrden (a
// columnaBD value). A text of no words finds nothing.
// Reads through the index when the catalogue has one and it is up to date,
// otherwise looks at every song; both find the same songs. Throws LodrinError
// (kDemasiadasPalabras for more than kMaximoPalabras words). Only reads.
ResultadoBusqueda BuscaCanciones(Catalogo& bd, const QString& texto, int columnaOrden = columnaBD::kAutor,
                                 int limite = kLimiteBusqueda);

// What the list says about a search: "1.000 de 23.456 canciones" when it
// shows only part, "12 canciones" or "1 canción" when it shows them all.
QString TextoCuenta(qint64 mostradas, qint64 total);

// A found song as one line for scripts: author, disc, song, position,
// playing time (mm:ss, empty for none) and CD, between tabs, ending in a
// line break. Tabs and line breaks within a field are written as blanks.
QString LineaBusqueda(const CancionEncontrada& c);

// The most words one search takes, and what is said of more.
constexpr int kMaximoPalabras = 32;
extern const QString kDemasiadasPalabras;

// The folded words of what was typed, each once; blanks and control
// characters part them.
QStringList PalabrasBusqueda(const QString& texto);
