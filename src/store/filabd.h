#pragma once
#include <QString>

class Consulta;

// The song row of the catalogue list: what the browser and a search both
// give the "Base de datos" tab, and what song edits act on.

// One song row of the catalogue list.
struct FilaBD {
    QString clave;     // "ca#" + idcancion
    QString posicion;  // the row text
    QString attrib;    // "v" for a various-artists song, else "f"
    QString autor;
    QString disco;
    QString cancion;
    QString cd;
};

// Columns of the catalogue list, as the window lays them out.
namespace columnaBD {
constexpr int kPosicion = 0;
constexpr int kAttrib = 1;
constexpr int kAutor = 2;
constexpr int kDisco = 3;
constexpr int kCancion = 4;
constexpr int kCd = 5;
}  // namespace columnaBD

// The list row of a song read by a select that names its columns as the
// browser's does: idcancion, wncancion, swvarios, cdautor, dsautor, cddisco,
// dsdisco, dscancion, dscd.
FilaBD FilaDeCancion(const Consulta& r);

// A row's text in a list column, and the list's order by that column: text,
// ascending, without regard to case.
QString TextoColumna(const FilaBD& fila, int columna);
bool FilaAntes(const FilaBD& a, const FilaBD& b, int columna);

// The song id a list row's key carries ("ca#" + idcancion).
qint64 IdCancion(const QString& clave);
