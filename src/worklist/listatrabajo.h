#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// What a row stands for. The letters are how a kind is shown in the list's
// "Attributos" column and how other parts read it; code compares kinds.
enum class ClaseFila {
    Ninguna,    // not a row kind (an empty or unknown letter)
    Carpeta,    // "D": a folder not yet expanded
    Expandida,  // "#": a folder already expanded
    Mp3,        // "f"
    Varios,     // "v": an MP3 of a various-artists disc
    Imagen,     // "p": GIF or JPEG
    Texto,      // "c": DOC or TXT
    Lista,      // "l": M3U play list
};
ClaseFila ClaseDeLetra(const QString& letra);
QString LetraDeClase(ClaseFila clase);
inline bool EsCarpeta(ClaseFila c) { return c == ClaseFila::Carpeta || c == ClaseFila::Expandida; }
inline bool EsMp3(ClaseFila c) { return c == ClaseFila::Mp3 || c == ClaseFila::Varios; }

// A picture row may stand for the front cover an MP3 file carries: its text
// is the MP3's text + kSufijoPortada + ".jpg" or ".gif", its tag the MP3's
// full path, which is how readers of the picture know to look inside.
inline const QString kSufijoPortada = QStringLiteral(" (portada)");
inline bool PortadaDentroDeMp3(const QString& rutaImagen)
{
    return !rutaImagen.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) &&
           !rutaImagen.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive);
}

// One row of the work list: a folder or file being catalogued.
struct FilaTrabajo {
    QString texto;        // path relative to its base folder, '\' between folders
    QString tag;          // full path of a file; base folder of a root folder
    QStringList subItems; // [0] is sub-item 1 (the kind code), then author, disc,
                          // song, position, mask; rows never analysed carry fewer
    QString icono;        // image key, both large and small picture
    bool seleccionada = false;
    bool operator==(const FilaTrabajo&) const = default;
};

// The work list: rows addressed by their 1-based index. While sorting is on
// rows stay ordered by their text (ascending, in Spanish order) and a
// new row goes to its place; while it is off rows are appended.
class ListaTrabajo {
public:
    int Cuenta() const { return int(filas_.size()); }
    FilaTrabajo& Fila(int indice) { return filas_.at(size_t(indice - 1)); }
    const FilaTrabajo& Fila(int indice) const { return filas_.at(size_t(indice - 1)); }

    // Adds a row carrying sub-item 1 only; returns its index.
    int Anade(const QString& texto, const QString& tag, const QString& tipo, const QString& icono);
    void Quita(int indice);
    void Limpia() { filas_.clear(); }
    bool MismasFilas(const ListaTrabajo& otra) const { return filas_ == otra.filas_; }
    // Takes the rows of another list (an undone change); a change all the same.
    void Reemplaza(const ListaTrabajo& otra)
    {
        filas_ = otra.filas_;
        ordenada_ = otra.ordenada_;
        ++version_;
    }

    bool Ordenada() const { return ordenada_; }
    // Switching sorting on sorts the rows by their text at once.
    void PonOrdenada(bool ordenada);

    // Sub-item k (1 = kind code ... 6 = mask); empty when the row has fewer.
    QString SubItem(int indice, int k) const;
    // Sets sub-item k, growing the row's sub-items to k when it has fewer.
    void PonSubItem(int indice, int k, const QString& texto);
    int CuentaSubItems(int indice) const { return int(Fila(indice).subItems.size()); }
    QString Tipo(int indice) const { return SubItem(indice, 1); }
    ClaseFila Clase(int indice) const { return ClaseDeLetra(Tipo(indice)); }

    // Raised by every change, so a view can follow; a counter is enough.
    quint64 Version() const { return version_; }
    void Cambiada() { ++version_; }

private:
    std::vector<FilaTrabajo> filas_;
    bool ordenada_ = true;
    quint64 version_ = 0;
};

// Column numbers of the work list (sub-item numbers).
namespace columna {
constexpr int kTipo = 1;
constexpr int kAutor = 2;
constexpr int kDisco = 3;
constexpr int kCancion = 4;
constexpr int kPosicion = 5;
constexpr int kMascara = 6;
}  // namespace columna
