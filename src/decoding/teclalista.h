#pragma once
#include <QString>
#include <functional>

#include "decoding/entradadatos.h"

struct CamposLlevados;
class ListaTrabajo;

// The rows of a list the keys Delete and F2 work on, 1-based. Campo and
// PonCampo address the four edited fields by sub-item number, 2 (author) to
// 5 (position).
class FilasEditables {
public:
    virtual ~FilasEditables() = default;
    virtual int Cuenta() const = 0;
    virtual bool Seleccionada(int i) const = 0;
    virtual QString Texto(int i) const = 0;
    virtual QString Tipo(int i) const = 0;
    virtual int CuentaSubItems(int i) const = 0;
    virtual QString Campo(int i, int c) const = 0;
    virtual void PonCampo(int i, int c, const QString& texto) = 0;
    virtual void Quita(int i) = 0;
};

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
