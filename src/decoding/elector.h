#pragma once
#include <QString>
#include <vector>

// One way of reading a file name: the four fields, the mask that gave them and
// how much we trust it (0 to 90).
struct CandidatoDecodificacion {
    QString autor;
    QString disco;
    QString cancion;
    QString posicion;
    QString mascara;
    int puntos = 0;
    bool operator==(const CandidatoDecodificacion&) const = default;
};

// Who picks among the candidate decodings of a file when the decoder cannot
// settle it alone: the dialog in the program, a script in tests.
class ElectorDecodificacion {
public:
    virtual ~ElectorDecodificacion() = default;
    // Forgets the candidates of the previous file.
    virtual void BorrarLista() = 0;
    // Offers one more candidate; the list stays best score first.
    virtual void AnadeCandidato(const CandidatoDecodificacion& c) = 0;
    // The box "Si a todo el directorio. Si disco igual.".
    virtual bool MismoDir() const = 0;
    virtual void LimpiaMismoDir() = 0;
    // Shows the candidates for a file; returns the chosen 1-based row in the
    // sorted list, 0 when the choice was given up.
    virtual int Muestra(const QString& ruta) = 0;
    // The candidate in a 1-based row of the sorted list.
    virtual CandidatoDecodificacion Candidato(int fila) const = 0;
    // Which folder of the run the next files come from (1-based) and how many
    // folders hold files to decode, so the person knows how many remain.
    virtual void PonCarpeta(int carpeta, int total)
    {
        (void)carpeta;
        (void)total;
    }
};

// Candidates best score first; equal scores keep the order they came in, so
// the first offered of the best is the one preselected.
class CandidatosOrdenados {
public:
    void Limpia() { filas_.clear(); }
    // Returns the 1-based row the candidate went to.
    int Anade(const CandidatoDecodificacion& c);
    int Cuenta() const { return int(filas_.size()); }
    // An empty candidate for a row out of range.
    CandidatoDecodificacion Fila(int fila) const;

private:
    std::vector<CandidatoDecodificacion> filas_;
};
