#pragma once
#include <QMap>
#include <QString>
#include <QStringList>

#include "worklist/listatrabajo.h"

class Catalogo;

// A CD on disk (real MP3s and pictures under a base folder) and the work-list
// rows that exploring and analysing it leave: text, tag, kind and columns.
class CdAnalizado {
public:
    explicit CdAnalizado(const QString& base, const QString& cache);

    // A folder row ("#"), with the author and disc its summary gives.
    int Carpeta(const QString& texto, const QString& autor = QString(), const QString& disco = QString());
    // An analysed MP3 row of kind "f" or "v"; the file lasts segundos.
    int Cancion(const QString& texto, const QString& tipo, const QString& autor, const QString& disco,
                const QString& cancion, const QString& posicion, int segundos = 1);
    // An analysed picture row with its folder's author and disc.
    int Imagen(const QString& texto, const QString& autor, const QString& disco);
    // A row that holds only its kind: a file of any kind never analysed.
    int SinAnalizar(const QString& texto, const QString& tipo);

    QString Ruta(const QString& texto) const;

    QString base;
    ListaTrabajo lista;

private:
    QString mp3(int segundos);
    QString cache_;
    QMap<int, QString> mp3s_;
};

// Counts rows of a table, optionally with a where clause.
qint64 CuentaFilas(Catalogo& bd, const QString& tabla, const QString& donde = QString());
// The files in a folder (empty when the folder does not exist).
QStringList Ficheros(const QString& carpeta);
