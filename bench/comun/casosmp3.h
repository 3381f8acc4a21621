#pragma once
#include <QList>
#include <QString>

// Files for timing playing-time readers: real encodings at many rates and
// modes, some wrapped in large or doubled ID3v2 tags, some with ID3v1, one
// in twenty not audio at all.
struct CasoMp3 {
    QString ruta;
    qint64 segundos;  // whole seconds of the audio encoded; 0 for non-audio
};

// Writes `total` files into carpeta; empty when the encoder fails.
QList<CasoMp3> CreaCasosMp3(const QString& carpeta, int total);

struct ComparacionLectores {
    qint64 msPropio = 0;
    qint64 msTagLib = 0;
    int fallosPropio = 0;
    int fallosTagLib = 0;
    QList<qint64> propio, taglib;  // the seconds each reader gave, by case
};

// Reads every case with DameInfoMp3 and with TagLib, twice, alternating; the
// second, warm-cache pass is timed.
ComparacionLectores ComparaLectores(const QList<CasoMp3>& casos);
