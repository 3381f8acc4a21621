#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <vector>

// The lines of a text file: UTF-8 (a byte-order mark is passed over); a line
// that is not valid UTF-8 was written by hand in an 8-bit code page and is read
// as Latin-1. Lines end in CR LF or LF; the last one may lack it.
QStringList LeeLineas(const QString& ruta);

// One line's bytes as text, by the rule of LeeLineas.
QString DecodificaLinea(QByteArrayView linea);

// The bytes of autorun.dat, read in pieces so that a reader in the
// background can be told to stop; empty when it cannot be read or was stopped.
QByteArray LeeFicheroAutorun(const QString& ruta, const std::atomic_bool* cancela = nullptr);

// What the viewer reads from autorun.dat: for each disc its title block, its
// picture paths and its songs. Discs are numbered from 1; at most 16 are kept,
// and at most 9 pictures each. The songs stay lines of the file's bytes,
// turned into text only when shown: a disc of a million songs costs a few
// bytes a song beyond the file itself.
class LectorAutorun {
public:
    static constexpr int kMaxDiscos = 16;
    static constexpr int kMaxImagenes = 9;
    static constexpr int kElementos = 21;  // elements 0 to 20 of the window's arrays

    // A song's label line: where it is in the bytes.
    struct Tramo {
        qint64 inicio;
        qint64 largo;
    };

    // Reads every line: headers change the section, the rest go to TrataLinea.
    void Lee(const QStringList& lineas);
    // The same from the file's bytes; stops early when cancela turns true.
    void LeeBytes(const QByteArray& bytes, const std::atomic_bool* cancela = nullptr);

    int seccion = 0;
    // "[label]" headers read so far: the current disc. Counted in full, so a
    // file with very many discs cannot wrap the count round.
    int numDiscos = 0;
    int numImagenes = 0;
    bool esperaLinea = false;
    std::array<std::array<QString, kMaxImagenes + 2>, kElementos + 1> rutaImagen;
    std::array<int, kElementos + 1> imagenesDisco{};
    std::array<int, kElementos + 1> imagenActual{};
    // The title block of each disc (the song-list box's text before its
    // songs) and the title box's text, CR LF between lines.
    std::array<QString, kElementos> cabecera;
    std::array<QString, kElementos> texto2;
    std::array<std::vector<Tramo>, kElementos> canciones;
    // Content lines passed over because their disc is beyond the 16th.
    int lineasDeMas = 0;

    bool Demasiados() const { return numDiscos > kMaxDiscos; }
    // The text of song k of disc d.
    QString Cancion(int d, qint64 k) const;
    // The whole text of the song-list box of disc d, CR LF after each song.
    QString Texto(int d) const;

private:
    void TrataLinea(int seccion, qint64 inicio, qint64 largo);
    QByteArray bytes_;
};

// The message shown when the file holds more discs than the window can show.
QString TextoDemasiadosDiscos(int numDiscos);
