#pragma once
#include <QList>
#include <QString>

// A CD of 1,000 songs as it sits on disk: 50 authors of two discs each, ten
// songs and a cover per disc, laid out as "author\disc\NN-song.mp3". Every
// song is a copy of one small MP3, so making it takes a moment.
struct AlbumPrueba {
    QString carpeta;  // relative, "Grupo 1 x\Disco 2\"
    QString autor;
    QString disco;
    QStringList canciones;  // relative paths of the ten songs, in order
    QString portada;        // relative path of the cover
};

constexpr int kDiscosCdPrueba = 100;
constexpr int kCancionesPorDiscoPrueba = 10;

// Three seconds of a tone through the encoder and a 300x300 cover, in
// carpeta; false when the encoder is missing or fails.
bool CreaModelosCd(const QString& carpeta, QString& mp3, QString& portada);

// Writes the CD under base; `marca` goes into the author names, so that
// several CDs never share an author, disc or song.
QList<AlbumPrueba> CreaCdPrueba(const QString& base, const QString& mp3, const QString& portada,
                                const QString& marca = QString());
