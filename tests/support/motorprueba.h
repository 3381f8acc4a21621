#pragma once
#include <QString>

#include "store/ubicacion.h"

// The store's tests run on the engine LODRIN_PRUEBA_MOTOR names:
// "postgresql" runs them on the server scripts/pg_temporal.sh started
// (LODRIN_PG_HOST, LODRIN_PG_USER, LODRIN_PG_DATABASE); anything else on SQLite.
bool PruebaEnServidor();

// A new, empty catalogue for one test, not yet opened: anterior.mdb in
// dirPrograma, or on the server a database of its own, named by a
// lodrin.ini written in dirPrograma (so UbicacionCatalogo::DeCarpeta finds
// it again, as the program would).
UbicacionCatalogo CatalogoDePrueba(const QString& dirPrograma);

// A new, empty database on the test server, named by a lodrin.ini at ini.
UbicacionCatalogo BaseDePrueba(const QString& ini);

class Catalogo;
// Makes the catalogue refuse, with the message "cancion rechazada", every
// song of the title given (a statement failing half-way through an
// operation); an empty title accepts them all again.
void RechazaCanciones(Catalogo& bd, const QString& titulo);
