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
// idautor is not 0. Only discs holding songs of one CD when idcd is not 0,
// and of one performer when idinterprete is not 0: a listing walks no more.
struct ParAutorDisco {
    qint64 idautor = 0;
    QString autor;
    qint64 iddisco = 0;
    QString disco;
};
std::vector<ParAutorDisco> ParesAutorDisco(Catalogo& bd, qint64 iddisco, qint64 idautor, qint64 idcd = 0,
                                           qint64 idinterprete = 0);

// A song as the listing shows it; the performer's name only on compilations.
struct CancionListado {
    qint64 segundos = 0;
    QString titulo;
    qint64 posicion = 0;
    qint64 idautor = 0;
    bool varios = false;
    QString interprete;
};

// The songs of each disc of discos, in that order, by position and title;
// only one performer's when idautor is not 0, only those of one CD when idcd
// is not 0. Read a few hundred discs per statement.
std::vector<std::vector<CancionListado>> CancionesDeDiscos(Catalogo& bd, const std::vector<qint64>& discos,
                                                           qint64 idautor, qint64 idcd);

// The pictures of each disc of discos, in that order, first recorded first.
std::vector<std::vector<qint64>> ImagenesDeDiscos(Catalogo& bd, const std::vector<qint64>& discos);
