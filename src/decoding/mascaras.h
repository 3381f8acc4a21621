#pragma once
#include <QString>
#include <QStringList>

class Catalogo;

// Component numbers of the four fields in a compiled mask, counted from the
// right end of the mask. 0 means the mask does not name the field, which then
// reads "<vacio>" whatever the number of components.
struct TablaComponentes {
    int autor = 0;
    int disco = 0;
    int cancion = 0;
    int posicion = 0;
};

// The mask list the decoder walks: slot 1 is the last chosen mask of the
// current analysis run, slots 2 .. last hold the stored masks longest first.
class ListaMascaras {
public:
    // Reloads the stored masks and empties slot 1; returns the last slot.
    int CargaMascaras(Catalogo& bd);
    // Moves slot to the next mask to try (0 when none is left) and gives its
    // match pattern and component table.
    void SiguienteMascara(QString& patron, TablaComponentes& tabla, int& slot) const;

    int UltimoSlot() const { return int(slots_.size()) - 1; }
    QString Mascara(int slot) const;
    void PonUltimaElegida(const QString& mascara) { slots_[1] = mascara; }

private:
    QStringList slots_{QString(), QString()};  // slot 0 is never used
};

// Compiles one mask into its match pattern and component table.
void CompilaMascara(const QString& mascara, QString& patron, TablaComponentes& tabla);

// Stores a mask as typed.
void AnadeMascara(Catalogo& bd, const QString& texto);

// The stored masks, longest first, as the "Mascaras" tab lists them.
QStringList ListaMascarasGuardadas(Catalogo& bd);
