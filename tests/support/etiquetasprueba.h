#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>

// MP3 files carrying ID3v2 or APEv2 tags, written with TagLib over audio
// from the encoder, and an independent read of what a file holds.
enum class ClaseEtiqueta { Id3v23, Id3v24, Ape };

struct EtiquetasPrueba {
    QString artista;
    QString album;
    QString artistaAlbum;
    QString titulo;
    int pista = 0;
    QByteArray portada;     // a front cover's bytes, if any
    QString comentario;     // a frame the program never writes
};

// Writes audio with the tags to ruta (its folders made); returns ruta.
QString CreaMp3Etiquetado(const QString& ruta, const QByteArray& audio, ClaseEtiqueta clase,
                          const EtiquetasPrueba& e);

// The ID3v2 tag of a file as TagLib reads it: frame id -> text (pictures as
// "APIC" -> their bytes' size, comments as "COMM"), plus "version".
QMap<QString, QString> MarcosId3v2(const QString& ruta);

// The file's bytes without the ID3v2 tag that begins it.
QByteArray SinId3v2(const QByteArray& fichero);
