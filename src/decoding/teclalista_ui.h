#pragma once
#include <functional>

class EntradaDatos;
class FilasEditables;
struct CamposLlevados;

// Delete and F2 on a list (the work list or the catalogue list). Delete
// removes the selected rows, calling antesDeBorrar (when given) with each
// row's index just before it goes. F2 asks for the four fields the selected
// analysed rows share and writes them, calling trasEscribir (when given)
// with each written row's index. Other keys do nothing.
void EditaFilas(int tecla, FilasEditables& filas, CamposLlevados& campos, EntradaDatos& entrada, bool catalogo,
                const std::function<void(int)>& antesDeBorrar = {},
                const std::function<void(int)>& trasEscribir = {});
