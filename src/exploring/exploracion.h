#pragma once
#include <QString>
#include <QStringList>

#include "worklist/listatrabajo.h"

class Avance;

// How a path enters the work list: its kind code and picture key; an empty
// kind means the path is not listed.
struct ClaseFichero {
    QString tipo;
    QString icono;
};

// Classifies a native path: an existing folder ("D", "cerrada" or "abierta" as
// asked; the path gains its trailing separator), else by extension: "*.MP?"
// "f", GIF and JPG "p", DOC and TXT "c", M3U "l", matched without regard to case.
ClaseFichero TipoFichero(QString& ruta, bool carpetaCerrada);

// Appends a row for every listed entry of the folder base + relativa (relative
// text with '\' between folders), in the file system's order: folders with
// texts ending in '\' and empty tags, files with their full native path as tag.
// Hidden and special entries, links to folders and folders whose name holds a
// '\' are left out. A folder that cannot be read throws LodrinError.
// Returns the marker the folder's row takes, "#".
QString DameFicheros(ListaTrabajo& lista, const QString& relativa, const QString& base);

// Expands every folder row of kind "D", breadth first, including the folders
// found on the way; each is listed against the base folder of its root row.
// A folder that vanished or cannot be read is skipped (marked expanded, with
// nothing under it) and its native path returned, for the person to be told.
// Cancelled (asked before each folder), the rows listed stay and the folders
// not reached stay "D", for a later run.
QStringList SacarDirectorios(ListaTrabajo& lista, Avance* avance = nullptr);

// "Busca": sorting off while expanding, then on again by the text. Returns
// the folders that could not be read.
QStringList Busca(ListaTrabajo& lista, Avance* avance = nullptr);

// Adds dropped paths as root rows; paths of other types, paths that no longer
// exist (returned in desaparecidas when given) and paths already in the list
// (a root folder or a file with the same full path) are skipped. Returns how
// many rows were added.
int AnadeSoltadas(ListaTrabajo& lista, const QStringList& rutas, QStringList* desaparecidas = nullptr);
