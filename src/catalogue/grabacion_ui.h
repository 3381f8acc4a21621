#pragma once
#include <QString>

class Avance;
class Avisos;
class Catalogo;
class ListaTrabajo;
struct DatosGrabacion;
struct ResumenGrabacion;

// "Graba": a CD needs its description and serial; without them the person
// is told and nothing is recorded. A failure of the store is shown over the
// window. Returns whether the CD was recorded, and what into *resumen.
bool GrabaDesdeVentana(Catalogo& bd, const ListaTrabajo& lista, const DatosGrabacion& datos, Avance& avance,
                       Avisos& avisos, ResumenGrabacion* resumen = nullptr);

// The status line after a recording: "Grabado el CD «…»: 3 discos, 42 canciones".
QString TextoGrabado(const QString& descripcion, const ResumenGrabacion& resumen);

// "Compara": marks the rows found in the catalogue; a failure is shown and
// the rows marked before it keep their marks.
void ComparaDesdeVentana(Catalogo& bd, ListaTrabajo& lista, Avisos& avisos);
