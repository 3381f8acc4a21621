#pragma once
#include <QString>

class FicheroRegular;

// The text frames the cataloguer wants from the ID3v2 tag that opens a file,
// read by a reader of our own that forgives what the tag library does not: an
// extended header, a frame of size 0, a byte that is not UTF-8. Only a field
// the library left empty is taken from here.
struct TextosId3v2 {
    QString artista;       // TPE1
    QString album;         // TALB
    QString titulo;        // TIT2
    QString pista;         // TRCK, as written
    QString artistaAlbum;  // TPE2
};

// Empty fields when the file does not begin with an ID3v2 tag.
TextosId3v2 LeeTextosId3v2(const FicheroRegular& f);

// The track number of a TRCK text ("3", "03/12"); 0 when there is none or it
// is out of the range a position can hold.
int NumeroDePista(const QString& texto);
