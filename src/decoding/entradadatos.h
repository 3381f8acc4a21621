#pragma once
#include <QString>
#include <array>

// What the data-entry dialog shows and what it gives back: the four working
// values (author, disc, song, position), which of them may be changed, the
// text of its label and which list it edits.
struct DatosEntrada {
    std::array<QString, 4> textos;
    std::array<bool, 4> habilitados{true, true, true, true};
    QString etiqueta;
    bool catalogo = false;
};

// Who answers the data-entry dialog. Pide shows the values and returns true
// with the edited texts on "Aceptar", false on "Cancelar" (nothing written).
class EntradaDatos {
public:
    virtual ~EntradaDatos() = default;
    virtual bool Pide(DatosEntrada& datos) = 0;
};
