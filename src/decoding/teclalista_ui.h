#pragma once
#include <functional>

#include "common/filaseditables.h"

class EntradaDatos;
struct CamposLlevados;

// Delete and F2 on a list (the work list or the catalogue list). Delete
// removes the selected rows, calling antesDeBorrar (when given) with each
// row's index just before it goes. F2 asks for the four fields the selected
// analysed rows share and writes them, calling trasEscribir (when given)
// with each written row's index. Other keys do nothing.
void EditaFilas(int tecla, FilasEditables& filas, CamposLlevados& campos, EntradaDatos& entrada, bool catalogo,
                const std::function<void(int)>& antesDeBorrar = {},
                const std::function<void(int)>& trasEscribir = {});

// The keys worked with the decoder's carried fields and its data-entry
// dialog: what the main window lends the catalogue list.
class EditorTeclas : public EditorFilas {
public:
    EditorTeclas(CamposLlevados& campos, EntradaDatos& entrada) : campos_(campos), entrada_(entrada) {}
    void Edita(int tecla, FilasEditables& filas, bool catalogo, const std::function<void(int)>& antesDeBorrar,
               const std::function<void(int)>& trasEscribir) override
    {
        EditaFilas(tecla, filas, campos_, entrada_, catalogo, antesDeBorrar, trasEscribir);
    }

private:
    CamposLlevados& campos_;
    EntradaDatos& entrada_;
};
