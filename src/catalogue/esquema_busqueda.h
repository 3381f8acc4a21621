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

// The songs holding every word, as a table `b` with the column idcancion, to
// stand in a from list; the words come folded, none empty. Its values are
// appended to valores.
QString CancionesConPalabras(const QStringList& palabras, QVariantList& valores);

}  // namespace esquema_busqueda
