#pragma once
#include <QString>
#include <vector>

class Catalogo;

// Songs the catalogue holds on more than one CD: the same author and the
// same title, compared as the catalogue compares them (case folded for every
// letter), on two CDs or more.

// One place the song stands.
struct SitioRepetida {
    qint64 idcancion = 0;
    qint64 idcd = 0;
    QString cd;
    QString disco;
    qint64 posicion = 0;
    qint64 segundos = 0;  // 0 when unknown
};

struct CancionRepetida {
    QString autor;
    QString cancion;                   // as the first one recorded spells it
    std::vector<SitioRepetida> sitios;  // in the order the CDs were recorded
    // Playing times known differ by more than kTomasDistintas seconds:
    // probably another take.
    bool tiemposDistintos = false;
};

constexpr qint64 kTomasDistintas = 2;

// Every such song, by author and then title in Spanish order. Only reads.
std::vector<CancionRepetida> CancionesRepetidas(Catalogo& bd);
