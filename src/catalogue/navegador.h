#pragma once
#include <QString>
#include <vector>

#include "common/avance.h"
#include "store/filabd.h"

class Catalogo;

// What the browser of the "Base de datos" tab shows, read from the catalogue
// at the moment it is asked for. The window turns these into tree nodes and
// list rows; nothing here knows about widgets.

// One node of the catalogue tree.
struct NodoBD {
    QString padre;   // key of the node it hangs from; empty for the root
    QString clave;
    QString texto;
    QString imagen;  // key of the small image list
    qint64 tag = 0;  // iddisco for a disc node, else 0
};

// The root and the first level of the tree for an ordering: 1 by authors,
// 2 by discs, 3 by CDs. The root comes first, then the children in the order
// of their names in Spanish order. Any other ordering gives nothing. The
// progress counts the rows as they are read.
std::vector<NodoBD> ArbolBD(Catalogo& bd, int orden, Avance* avance = nullptr);

// The list column the rows are sorted by after building a tree ordering, or
// -1 when the ordering leaves the sort column as it was.
int ColumnaOrdenArbol(int orden);

// The songs under a first-level node and the nodes to add below it.
struct ContenidoBD {
    std::vector<FilaBD> filas;
    std::vector<NodoBD> nodos;  // in the order they are to be added
    int columnaOrden = -1;      // sort column to set, or -1 to leave it
    QString clave;              // the node read, to read it again
};

// Reads the songs of the first-level node with this key ("BDau#..",
// "BDdi#.." or "BDcd#.."). Any other key gives nothing.
ContenidoBD ListaBD(Catalogo& bd, const QString& clave, Avance* avance = nullptr);

// The id a key carries after its first five characters ("BDau#12" -> 12).
qint64 IdDeClave(const QString& clave);
