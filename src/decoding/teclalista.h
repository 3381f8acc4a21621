#pragma once
#include <QString>
#include <functional>

#include "common/filaseditables.h"
#include "decoding/entradadatos.h"

struct CamposLlevados;
class ListaTrabajo;

// The work list seen as editable rows; its selection is the rows' mark.
class FilasTrabajo : public FilasEditables {
public:
    explicit FilasTrabajo(ListaTrabajo& lista) : lista_(lista) {}
    int Cuenta() const override;
    bool Seleccionada(int i) const override;
    QString Texto(int i) const override;
    QString Tipo(int i) const override;
    int CuentaSubItems(int i) const override;
    QString Campo(int i, int c) const override;
    void PonCampo(int i, int c, const QString& texto) override;
    void Quita(int i) override;

private:
    ListaTrabajo& lista_;
};

// F2: gathers what the selected analysed rows share. A column in which two
// rows hold different non-empty texts is emptied and disabled; empty texts
// never disable a column. Returns false when no row takes part.
bool RecogeDatos(const FilasEditables& filas, DatosEntrada& datos);

// "Aceptar": writes the enabled texts into every selected row of a kind that
// takes them, then calls trasFila (when given) with the row's index.
void EscribeDatos(FilasEditables& filas, const DatosEntrada& datos,
                  const std::function<void(int)>& trasFila = {});

// Delete: removes the selected rows from the last to the first, calling
// antes (when given) with each row's index just before it goes.
void BorraSeleccionadas(FilasEditables& filas, const std::function<void(int)>& antes = {});

// The working values live in the fields the analysis carries.
void GuardaEnCampos(const DatosEntrada& datos, CamposLlevados& campos);
