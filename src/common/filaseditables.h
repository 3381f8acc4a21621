#pragma once
#include <QString>
#include <functional>

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

// Who works a key on a list's rows: Delete removes the selected rows, calling
// antesDeBorrar (when given) with each row's index just before it goes; F2
// asks for the fields the selected rows share and writes them, calling
// trasEscribir (when given) with each written row's index. A list that is
// not the work list (catalogo on) is edited the same way; the list only
// lends its rows.
class EditorFilas {
public:
    virtual ~EditorFilas() = default;
    virtual void Edita(int tecla, FilasEditables& filas, bool catalogo,
                       const std::function<void(int)>& antesDeBorrar = {},
                       const std::function<void(int)>& trasEscribir = {}) = 0;
};
