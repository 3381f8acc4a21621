#pragma once
#include <QString>
#include <QStringList>
#include <array>

// The lines of a text file: UTF-8 (a byte-order mark is passed over); a line
// that is not valid UTF-8 was written by hand in an 8-bit code page and is read
// as Latin-1. Lines end in CR LF or LF; the last one may lack it.
QStringList LeeLineas(const QString& ruta);

// What the viewer reads from autorun.dat: for each disc its box texts and its
// picture paths. Discs are numbered from 1; at most 16 are kept, and at most 9
// pictures each.
class LectorAutorun {
public:
    static constexpr int kMaxDiscos = 16;
    static constexpr int kMaxImagenes = 9;
    static constexpr int kElementos = 21;  // elements 0 to 20 of the window's arrays

    // Reads every line: headers change the section, the rest go to TrataLinea.
    void Lee(const QStringList& lineas);
    // One line that is not a section header.
    void TrataLinea(int seccion, const QString& linea);

    int seccion = 0;
    // "[label]" headers read so far: the current disc. Counted in full, so a
    // file with very many discs cannot wrap the count round.
    int numDiscos = 0;
    int numImagenes = 0;
    bool esperaLinea = false;
    std::array<std::array<QString, kMaxImagenes + 2>, kElementos + 1> rutaImagen;
    std::array<int, kElementos + 1> imagenesDisco{};
    std::array<int, kElementos + 1> imagenActual{};
    // Text of the song-list box and of the title box of each disc, CR LF between lines.
    std::array<QString, kElementos> texto;
    std::array<QString, kElementos> texto2;
    // Content lines passed over because their disc is beyond the 16th.
    int lineasDeMas = 0;

    bool Demasiados() const { return numDiscos > kMaxDiscos; }
};

// The message shown when the file holds more discs than the window can show.
QString TextoDemasiadosDiscos(int numDiscos);
