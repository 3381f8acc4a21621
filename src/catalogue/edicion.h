#pragma once
#include <QString>
#include <vector>

#include "catalogue/navegador.h"

class Catalogo;

// Edits of catalogued songs made from the catalogue list. Each call is one
// operation: it is committed whole or, on failure, not at all (LodrinError
// naming the catalogue file).

// Deletes the song of a row. Its author, disc, CD and pictures stay.
void BorraCancion(Catalogo& bd, const FilaBD& fila);
// Deletes the songs of several rows in one operation.
void BorraCanciones(Catalogo& bd, const std::vector<FilaBD>& filas);

// Rewrites the song of a row from its columns: title, performer, disc (owned
// by "<Varios Artistas>" for a various-artists song) and position. New author
// and disc names get their rows. An empty position leaves the stored one; a
// position that is not a whole number from -32768 to 32767 is refused with a
// LodrinError before anything is written. Returns the position the song now
// has, as text, for the row to show.
QString ActualizaCancion(Catalogo& bd, const FilaBD& fila);
// Rewrites several rows in one operation; the positions to show, in order.
std::vector<QString> ActualizaCanciones(Catalogo& bd, const std::vector<FilaBD>& filas);

// What the catalogue holds now of the song a list row shows ("ca#" key): the
// row as the browser would show it; false when the song is gone.
bool LeeCancion(Catalogo& bd, const QString& clave, FilaBD& ahora);

// What the person is told when a row no longer shows its song as it is.
extern const QString kCancionCambiada;

// Delete and F2 on a shown row: the song is deleted or rewritten only if the
// catalogue still holds it as `mostrada` shows it, checked inside the same
// operation; otherwise nothing is written and false is returned. Either way
// `ahora` gets the song as the catalogue holds it afterwards (`existe` false
// when it is gone).
struct CancionAhora {
    bool existe = false;
    FilaBD fila;
};
bool BorraCancionMostrada(Catalogo& bd, const FilaBD& mostrada, CancionAhora& ahora);
bool ActualizaCancionMostrada(Catalogo& bd, const FilaBD& fila, const FilaBD& mostrada, CancionAhora& ahora);

// A position text as a number; false when it is not one the catalogue holds.
bool LeePosicion(const QString& texto, qint64& posicion);
