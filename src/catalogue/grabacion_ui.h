#pragma once

class Avance;
class Avisos;
class Catalogo;
class ListaTrabajo;
struct DatosGrabacion;

// "Graba": a CD needs its description and serial; without them the person
// is told and nothing is recorded. A failure of the store is shown over the
// window. Returns whether the CD was recorded.
bool GrabaDesdeVentana(Catalogo& bd, const ListaTrabajo& lista, const DatosGrabacion& datos, Avance& avance,
                       Avisos& avisos);

// "Compara": marks the rows found in the catalogue; a failure is shown and
// the rows marked before it keep their marks.
void ComparaDesdeVentana(Catalogo& bd, ListaTrabajo& lista, Avisos& avisos);
