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

// Writes an ID3v2 tag in UTF-8 (TPE1, TALB, TIT2, TRCK, and TPE2 for a
// various-artists disc; every other frame kept) and the ID3v1 tag. A file
// without ID3v2 gets version 2.4, a 2.3 tag stays 2.3. The new tag takes the
// old one's space when it fits, and leaves room for the next write when it
// does not. The write goes through the journal (common/diario.h): a failure
// or a kill leaves the file as it was or as written, never between, and the
// file keeps its inode, links, owner, mode and attributes. Throws
// LodrinError naming the file.
void PonEtiquetas(const QString& rutaCompleta, const DatosEtiquetas& d);

// "Borrar tag's": takes off the frames PonEtiquetas writes (every other frame
// stays) and blanks the ID3v1 tag. A file with neither tag is not touched.
void BorraEtiquetas(const QString& rutaCompleta);

// The message for a file whose tags could not be written, and why.
QString FallaEtiquetas(const QString& rutaCompleta, const QString& motivo);

// What those two make of a file, for a batch that journals many at once; a
// write with no pieces leaves the file as it is.
struct EscrituraFichero;
EscrituraFichero EscrituraPonEtiquetas(const QString& rutaCompleta, const DatosEtiquetas& d);
EscrituraFichero EscrituraBorraEtiquetas(const QString& rutaCompleta);
