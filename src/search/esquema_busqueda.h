#pragma once
#include <QString>
#include <QStringList>
#include <QVariantList>

class Catalogo;

// What is particular to the engine in the song search: the index's tables,
// what keeps them in step with the catalogue and the statement that finds the
// songs holding some words. The program fills tlbusca (one folded text per
// song) with plain SQL; everything else about the index is here, so another
// engine gives these another body over the same folded column.
namespace esquema_busqueda {

// Whether the file holds the index.
bool HayIndice(Catalogo& bd);

// Makes the index in the open transaction and marks every song to be put in
// it.
void CreaIndice(Catalogo& bd);

// Whether songs wait to be put in the index: written by a program that does
// not fill it (an earlier version, the engine's own tool).
bool HayPendientes(Catalogo& bd);

// Putting folded texts in the index: an empty staging table of this
// connection, the statement that adds one (idcancion, text) to it, and
// moving them all into tlbusca, replacing the texts they had.
void PreparaTextosNuevos(Catalogo& bd);
QString GuardaTextoNuevo();
void PasaTextosNuevos(Catalogo& bd);

// The songs holding every word, as a table `b` with the column idcancion,
// in the order of idcancion, to stand in a from list; the words come folded,
// none empty. Its values are appended to valores. leyendoTodas looks in
// every text instead of going through the index, which costs less when most
// songs hold the words.
QString CancionesConPalabras(const QStringList& palabras, QVariantList& valores, bool leyendoTodas = false);

}  // namespace esquema_busqueda
