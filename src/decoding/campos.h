#pragma once
#include <QString>

// The decoder's five texts that the analysis carries from one row to the next
// and from one run to the next; the data-entry dialog works in them too.
struct CamposLlevados {
    QString ruta;
    QString autor;
    QString disco;
    QString cancion;
    QString posicion;
};
