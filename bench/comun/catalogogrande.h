#pragma once
#include <QString>

class Catalogo;

// A catalogue of 10,000 authors and 200,000 songs on 400 CDs, filled in one
// transaction (the program's own find-or-insert would take minutes). The
// first author (id 2) has 500 songs on 25 discs; the rest two discs each.
// Author id 1 is "<Varios Artistas>".
struct CatalogoGrande {
    static constexpr int kAutores = 10000;
    static constexpr int kCanciones = 200000;
    static constexpr int kCds = 400;
    static constexpr int kCancionesAutorGrande = 500;
    static constexpr qint64 kIdAutorGrande = 2;
};

// Fills bd. Every `discosPorFoto`-th disc gets a picture; with dirPrograma
// given, each picture also gets its copy in the images folder, as recording
// would have left it.
void LlenaCatalogoGrande(Catalogo& bd, int discosPorFoto = 10, const QString& dirPrograma = QString());

class QTreeWidget;
class QTreeWidgetItem;

// The node under the browser's root whose key is `clave` ("BDau#2"), or null.
QTreeWidgetItem* NodoDeClave(QTreeWidget* arbol, const QString& clave);
