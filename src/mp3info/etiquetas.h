#pragma once
#include <QByteArray>
#include <QString>

// The tags a file already carries beyond ID3v1: ID3v2 (2.2 to 2.4) and APEv2,
// read with TagLib. Where both are there ID3v2 speaks first and APEv2 fills
// what it lacks.
struct EtiquetasFichero {
    QString artista;
    QString album;
    QString artistaAlbum;
    QString titulo;
    int pista = 0;               // 0 when none
    bool portada = false;        // an embedded cover that can be shown
    QString extensionPortada;    // what DamePortada will give: ".jpg" or ".gif"
};

// Reads the tags of an MP3 file; false when it cannot be read or carries
// neither tag. Never blocks on a path that is not a regular file.
bool LeeEtiquetas(const QString& rutaCompleta, EtiquetasFichero& e);

// The embedded front cover (or the first picture, when none is marked front
// cover) as a picture file's bytes: GIF and JPEG as they are, any other kind
// turned into JPEG, so the picture copies stay of the two kinds the catalogue
// knows. extension is ".jpg" or ".gif"; both empty when there is none.
struct PortadaFichero {
    QByteArray bytes;
    QString extension;
};
PortadaFichero DamePortada(const QString& rutaCompleta);

// What "Poner Tag's" writes into a file: the row's author, disc, song and
// position, and whether the disc is of various artists.
struct DatosEtiquetas {
    QString autor;
    QString disco;
    QString cancion;
    QString posicion;
    bool varios = false;
};

// Writes an ID3v2.4 tag in UTF-8 (TPE1, TALB, TIT2, TRCK, and TPE2 for a
// various-artists disc; every other frame kept) and the ID3v1 tag. The work
// is done on a copy in the same folder that replaces the file only when all
// of it was written, so a failure leaves the file as it was. Throws
// LodrinError naming the file.
void PonEtiquetas(const QString& rutaCompleta, const DatosEtiquetas& d);
