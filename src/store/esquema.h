#pragma once
#include <QString>
#include <QStringList>

class Catalogo;

// What is particular to the engine behind the catalogue: its tables and
// indexes, the settings of a connection and bringing older files up to date.
// Another engine is put behind the store by giving these another body.
namespace esquema {

// Makes a new catalogue file whole (tables, indexes, typical masks) beside
// ruta and puts it in place only once complete, so an interrupted creation
// never leaves a half catalogue. Throws CatalogoNoAbierto.
void CreaCatalogo(const QString& ruta, const QString& conexion);

// Looks at an existing file without writing to it: it must be a database of
// the engine holding the tables and columns the program uses. Returns true
// when it lacks the folded key columns of this version. Throws
// CatalogoNoAbierto.
bool Comprueba(const QString& ruta, const QString& conexion);

// A connection that writes: rollback journal, each commit on disk before it
// returns. A file left with a write-ahead journal is switched back.
void ConfiguraEscritura(Catalogo& bd);

// Adds and fills the folded key columns and their indexes, in one transaction.
void Actualiza(Catalogo& bd);

// An older catalogue that cannot be written: copies of its tables that lack
// the key columns, with the keys filled, kept in memory in front of them.
void VistasLectura(Catalogo& bd);

// The typical masks a new catalogue starts with, in the order they are added.
QStringList MascarasTipicas();

// A server database: an empty one is given the tables, indexes and typical
// masks in one transaction; one that holds other tables, or lacks a table or
// column, is refused naming host and database. Throws LodrinError.
void PreparaServidor(Catalogo& bd);

// The column that keeps the order in which masks were added.
QString OrdenDeAlta(const Catalogo& bd);

// After rows were copied in with their ids: new rows get ids after them.
void TrasCopia(Catalogo& bd);

}  // namespace esquema
