#pragma once
#include <QString>
#include <vector>

class Catalogo;

// What the HTML listing reads from the catalogue.

struct NombreId {
    QString nombre;
    qint64 id = 0;
};

// Authors, discs (only those of one author when idautor is not 0) and CDs by
// the names shown, in Spanish order.
std::vector<NombreId> AutoresOrdenados(Catalogo& bd);
std::vector<NombreId> DiscosOrdenados(Catalogo& bd, qint64 idautor);
std::vector<NombreId> CdsOrdenados(Catalogo& bd);

// The name of one row; empty when there is no such row.
QString NombreDeAutor(Catalogo& bd, qint64 idautor);
QString NombreDeDisco(Catalogo& bd, qint64 iddisco);
QString DescripcionDeCd(Catalogo& bd, qint64 idcd);

// Every disc with its author, by author and disc name; only one disc when
// iddisco is not 0; only one author's discs and the compilations when
// idautor is not 0.
struct ParAutorDisco {
    qint64 idautor = 0;
    QString autor;
    qint64 iddisco = 0;
    QString disco;
};
std::vector<ParAutorDisco> ParesAutorDisco(Catalogo& bd, qint64 iddisco, qint64 idautor);

// The songs of a disc by position and title; only one performer's when
// idautor is not 0, only those of one CD when idcd is not 0.
struct CancionListado {
    qint64 segundos = 0;
    QString titulo;
    qint64 posicion = 0;
    qint64 idautor = 0;
    bool varios = false;
};
std::vector<CancionListado> CancionesDeDisco(Catalogo& bd, qint64 iddisco, qint64 idautor, qint64 idcd);

// The pictures of a disc, first recorded first.
std::vector<qint64> ImagenesDeDisco(Catalogo& bd, qint64 iddisco);
