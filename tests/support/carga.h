#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// Many programs on one catalogue at once: some record CDs, others search as
// a person types. Each is a child process running the same executable,
// whose main() hands it to EsHijoDeCarga first.
struct OpcionesCarga {
    QString dirPrograma;  // the folder whose catalogue (or lodrin.ini) every program opens
    int grabadores = 6;
    int buscadores = 6;
    int cancionesPorCd = 300;
    double segundos = 30;  // no CD is started after this
};

// The CD recorded before the load, which every search word finds.
inline const QString kCdBaseCarga = QStringLiteral("Carga base");

struct ResultadoCarga {
    QStringList cds;           // the CDs recorded
    QStringList fallos;        // every operation that failed, and children that did not end well
    QList<double> busquedas;   // milliseconds of each search
    int sinAciertos = 0;       // searches of a whole word that found nothing
};

// Runs the children and gathers what they say.
ResultadoCarga CorreCarga(const OpcionesCarga& opciones);

// What is wrong in the catalogue after the load: a text per fault (a
// repeated author, disc, song or picture; a CD not whole). Empty when sound.
class Catalogo;
QStringList FaltasTrasCarga(Catalogo& bd, const OpcionesCarga& opciones, const QStringList& cds);

// The CD a recording program records: authors alternating row by row, a
// third of the songs by authors and on discs every program shares.
class ListaTrabajo;
ListaTrabajo CdDeCarga(const QString& descripcion, int canciones, const QString& portada);

// In a child of CorreCarga: does its part and sets salida; false elsewhere.
bool EsHijoDeCarga(int& salida);

// The middle value and the 99th percentile, in milliseconds.
double Percentil(QList<double> v, double p);
