#pragma once
#include <QList>
#include <QString>

// Files for timing playing-time readers: real encodings at many rates and
// modes, one in five VBR without a Xing/Info header, some wrapped in large or
// doubled ID3v2 tags, some with ID3v1, one in twenty not audio at all.
enum class ClaseMp3 { NoAudio, ConCabecera, CbrSinCabecera, VbrSinCabecera };
struct CasoMp3 {
    QString ruta;
    qint64 segundos;  // whole seconds of the frames a full decode finds; 0 for non-audio
    ClaseMp3 clase = ClaseMp3::NoAudio;
};

// The cases of one class.
QList<CasoMp3> DeClase(const QList<CasoMp3>& casos, ClaseMp3 clase);

// Writes `total` files into carpeta; empty when the encoder fails. The true
// length of each encoding is the frames a full decode counts (ffprobe).
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

// Headerless VBR files (encoded without a Xing/Info frame, so only their
// frames tell their length), plain, behind an ID3v2 tag or before an ID3v1 one.
QList<CasoMp3> CreaCasosVbrSinCabecera(const QString& carpeta, int total);

struct LecturaPropia {
    double ms = 0;
    int fallos = 0;
};
// DameInfoMp3 over every case, twice; the second, warm-cache pass is timed
// (processor time of the thread, system calls included).
LecturaPropia MideDameInfoMp3(const QList<CasoMp3>& casos);

// The least any reader of the files must do: open, fstat, read 4 KB at the
// start and 4 KB at the end, close; timed as MideDameInfoMp3 is.
double MsLecturaMinima(const QList<CasoMp3>& casos);

// MideDameInfoMp3 and MsLecturaMinima taken in turns, `vueltas` times each:
// the medians, so a machine shared with other work weighs on both alike.
struct ContraLecturaMinima {
    double msPropio = 0;
    double msMinima = 0;
};
ContraLecturaMinima ComparaConLecturaMinima(const QList<CasoMp3>& casos, int vueltas);

// Headerless VBR files of `segundos` each (30 s, four minutes: lengths of
// songs), `total` of them, some behind an ID3v2 tag or before an ID3v1 one.
QList<CasoMp3> CreaCasosVbrLargos(const QString& carpeta, double segundos, int total);

// Counting frames reads every byte: the honest floor is reading the whole
// file in 1 MiB blocks (open, fstat, the reads, close); timed as
// MideDameInfoMp3 is.
double MsLecturaEntera(const QList<CasoMp3>& casos);

// MideDameInfoMp3 and MsLecturaEntera in turns, `vueltas` times each: the medians.
ContraLecturaMinima ComparaConLecturaEntera(const QList<CasoMp3>& casos, int vueltas);

// LeeEtiquetas of a file whose ID3v2 tag carries a cover of `lado` x `lado`
// pixels, as JPEG and as PNG: the medians of `vueltas` reads of each, ms.
struct PortadaJpegPng {
    double msJpeg = 0;
    double msPng = 0;
    qint64 bytesJpeg = 0;  // the files' sizes: TagLib reads the whole tag
    qint64 bytesPng = 0;
};
PortadaJpegPng MideEtiquetasConPortada(const QString& carpeta, int lado, int vueltas);
