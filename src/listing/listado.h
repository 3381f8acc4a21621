#pragma once
#include <QHash>
#include <QString>
#include <QVector>

#include <vector>

#include "catalogue/listadobd.h"
#include "common/avance.h"
#include "common/lodrinerror.h"

class Catalogo;
class QTextStream;

// One entry of a filter combo: its text, the key of its picture and its id
// (0 for the catch-all entry that opens every list).
struct EntradaCombo {
    QString texto;
    QString imagen;
    qint64 id = 0;
};

QVector<EntradaCombo> EntradasAutor(Catalogo& bd);
// The discs of one author when idautor is not 0, else every disc.
QVector<EntradaCombo> EntradasDisco(Catalogo& bd, qint64 idautor);
QVector<EntradaCombo> EntradasCd(Catalogo& bd);

// What one listing shows: the three filters (0 = no restriction) and the two
// check boxes.
struct OpcionesListado {
    qint64 idcd = 0;
    qint64 idautor = 0;
    qint64 iddisco = 0;
    bool canciones = false;
    bool imagenes = false;
};

// The output file could not be created or completed. The user is told and the
// program carries on; a file that was there before is left as it was.
class FalloSalida : public LodrinError {
public:
    using LodrinError::LodrinError;
};

// The text after a song: "(mm:ss)", every digit of the minutes kept; empty
// for no playing time.
QString FormatoTiempo(qint64 segundos);

// A catalogue text made safe to stand in the page as written.
QString EscapaHtml(const QString& texto);

// The output file for the name typed by the user: beside the program.
QString RutaSalida(const QString& dirPrograma, const QString& nombre);

// Writes the listing page to RutaSalida(dirPrograma, nombre). The new page
// replaces an old one only once it is complete. Throws FalloSalida when
// nombre is not a plain file name or the file cannot be written, LodrinError
// when the catalogue fails. The progress counts the discs looked at and ends
// at the end, also after a failure.
void GeneraListado(Catalogo& bd, const QString& dirPrograma, const QString& nombre, const OpcionesListado& opciones,
                   Avance* progreso = nullptr);

// The page for the options, as the lines GeneraListado writes.
class EscritorListado {
public:
    EscritorListado(Catalogo& bd, const QString& dirPrograma, const OpcionesListado& opciones, QTextStream& salida);
    void Cabecera();
    // The performer whose songs are listed: the chosen author, unless it is
    // the various-artists one; 0 for any.
    qint64 IdInterprete() const { return op_.idautor != 0 && !autorEsVarios_ ? op_.idautor : 0; }
    // The lines of one disc of an author, with its songs and pictures as the
    // options pick them; autorEscrito says whether a disc of this author has
    // already been written, and becomes true when this one is.
    void ListaDisco(QString autor, QString disco, const std::vector<CancionListado>& canciones,
                    const std::vector<qint64>& imagenes, bool& autorEscrito);
    void Pie();

private:
    void linea(const QString& texto);
    QString nombreAutor(qint64 idautor);
    QString lineaImagen(qint64 idobjeto) const;

    Catalogo& bd_;
    QString dirPrograma_;
    OpcionesListado op_;
    QTextStream& out_;
    bool autorEsVarios_ = false;
    QHash<qint64, QString> autores_;
};
