#pragma once
#include <QString>

class Catalogo;
class ListaTrabajo;

// Who shows how far a recording has got (the progress bar of the window).
class AvanceGrabacion {
public:
    virtual ~AvanceGrabacion() = default;
    virtual void Empieza(int maximo) = 0;
    virtual void Avanza(int valor) = 0;
    // Called when the recording ends, also when it fails half-way.
    virtual void Termina() = 0;
};

// What a recording reads from the window besides the work list.
struct DatosGrabacion {
    QString descripcion;          // the CD's description (txtCDROM)
    QString serial;               // the CD's serial number (lbserial)
    bool grabarImagenes = true;   // "Grabar imagenes"
    QString dirPrograma;          // the images folder lies beside the catalogue
};

// Writes the analysed work list into the catalogue: the CD, and for every
// analysed MP3 row its author, disc and song with its playing time, and for
// every analysed picture row a cover of its disc. Rows already recorded are
// found, not doubled. The CD is one operation: a failure rolls back its rows
// and removes the picture copies it made, then throws LodrinError naming the
// catalogue file; recording the same list again records it once.
void GrabaCD(Catalogo& bd, const ListaTrabajo& lista, const DatosGrabacion& datos,
             AvanceGrabacion* avance = nullptr);

// The track number of a position text: the integer part of the number it
// starts with ("07" -> 7, "3.9" -> 3); 0 when it does not start with one.
qint64 ValorPosicion(const QString& texto);
