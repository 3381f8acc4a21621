#pragma once
#include <QString>

class Catalogo;
struct FilaBD;

// Edits of catalogued songs made from the catalogue list.

// The song id a list row's key carries ("ca#" + idcancion).
qint64 IdCancion(const QString& clave);

// Deletes the song of a row. Its author, disc, CD and pictures stay.
void BorraCancion(Catalogo& bd, const FilaBD& fila);

// Rewrites the song of a row from its columns: title, performer, disc (owned
// by "<Varios Artistas>" for a various-artists song) and position. New author
// and disc names get their rows. A position that is not a whole number from
// -32768 to 32767 leaves the stored one. Returns the position the song now
// has, as text, for the row to show.
QString ActualizaCancion(Catalogo& bd, const FilaBD& fila);

// A position text as a number; false when it is not one the catalogue holds.
bool LeePosicion(const QString& texto, qint64& posicion);
