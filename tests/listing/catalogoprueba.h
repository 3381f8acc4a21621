#pragma once
#include <QString>

#include "store/catalogo.h"

// A small catalogue for the listing, filled through the find-or-insert
// operations as recording fills it, with real cover copies:
//   CD1: Ana / Primero (3 songs, one JPG cover), Bruno / Zeta,
//        <Varios Artistas> / Recopilación (Intro by Ana, Otra by Bruno),
//        <vacio> / <vacio>, Simon & Garfunkel / <Live> (GIF cover)
//   CD2: Bruno / Alfa
//   Carla / Vacío has no song at all.
struct CatalogoPrueba {
    qint64 cd1 = 0, cd2 = 0;
    qint64 ana = 0, bruno = 0, carla = 0, simon = 0, vacio = 0, varios = 0;
    qint64 primero = 0, alfa = 0, zeta = 0, vacioDisco = 0, live = 0, recopilacion = 0, sinCanciones = 0;
    qint64 portadaPrimero = 0, portadaLive = 0;
};

// Fills bd; pictures are made under origen and copied beside dirPrograma.
CatalogoPrueba LlenaCatalogo(Catalogo& bd, const QString& dirPrograma, const QString& origen);

// The lines of a written page, checking that each one ends in CR LF and that
// the file is valid UTF-8.
QStringList LineasDe(const QString& ruta);
