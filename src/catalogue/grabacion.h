#pragma once
#include <QString>

#include "common/avance.h"

class Catalogo;
class ListaTrabajo;

// What a recording reads from the window besides the work list.
struct DatosGrabacion {
    QString descripcion;          // the CD's description (txtCDROM)
    QString serial;               // the CD's serial number (lbserial)
    bool grabarImagenes = true;   // "Grabar imagenes"
    QString dirPrograma;          // the images folder lies beside the catalogue
};

// What one recording put in the catalogue: its songs and the discs they
// belong to (found or new).
struct ResumenGrabacion {
    int discos = 0;
    int canciones = 0;
};

// Writes the analysed work list into the catalogue: the CD, and for every
// analysed MP3 row its author, disc and song with its playing time, and for
// every analysed picture row a cover of its disc. Rows already recorded are
// found, not doubled. The CD is one operation: a failure rolls back its rows
// and removes the picture copies it made, then throws LodrinError naming the
// catalogue file; recording the same list again records it once. A file
// that cannot be read stops it before anything is written, with one message
// naming every such file and why. The progress ends however it ends.
ResumenGrabacion GrabaCD(Catalogo& bd, const ListaTrabajo& lista, const DatosGrabacion& datos, Avance* avance = nullptr);

// The track number of a position text: the integer part of the number it
// starts with ("07" -> 7, "3.9" -> 3); 0 when it does not start with one.
qint64 ValorPosicion(const QString& texto);
