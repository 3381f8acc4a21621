#pragma once
#include <array>
#include <cstddef>

// The command buttons whose enabled state changes; "Nueva", "Añadir",
// "Generar listado" and "Limpia BD" are always enabled.
enum class Boton { cmdBusca, cmdAnaliza, cmdCompara, cmdGraba, cmdGenera, cmdauto, cmdVerAuto,
                   cmdExplorar, cmdWriteTag, cmdDeleteTag };
constexpr int kBotones = 10;

// What happened in the window.
enum class Suceso {
    Arranque,        // start-up (cdListo: a ready CD is in the selected drive)
    CambioUnidad,    // drive change (cdListo likewise)
    Nueva,           // the work list was emptied
    Soltar,          // folders or files were dropped onto the work list
    Busca,           // folders were expanded
    AnalizaEmpieza,  // an analysis run starts
    AnalizaTermina,  // an analysis run returned, also after a cancelled dialog
    Genera,          // the author/disc tree was built
    Autorun,         // autorun.dat was written
    Explorar,        // exploration ran its own "Genera" step
};

struct Habilitados {
    std::array<bool, kBotones> en{};
    bool operator[](Boton b) const { return en[std::size_t(b)]; }
    bool& operator[](Boton b) { return en[std::size_t(b)]; }
    bool operator==(const Habilitados&) const = default;
};

// The enabling rules of the main window, in one place: the buttons' state
// after an event, given the state before it.
Habilitados Habilita(Habilitados antes, Suceso suceso, bool cdListo = false);

const char* NombreBoton(Boton b);
