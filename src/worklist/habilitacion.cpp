#include "worklist/habilitacion.h"

#include <initializer_list>

namespace {
void pon(Habilitados& h, std::initializer_list<Boton> botones, bool valor)
{
    for (Boton b : botones)
        h[b] = valor;
}
}  // namespace

Habilitados Habilita(Habilitados h, Suceso suceso, bool cdListo)
{
    using B = Boton;
    switch (suceso) {
    case Suceso::Arranque:
        h = Habilitados{};
        h[B::cmdExplorar] = cdListo;
        break;
    case Suceso::CambioUnidad:
        h[B::cmdExplorar] = cdListo;
        break;
    case Suceso::Nueva:
        pon(h, {B::cmdBusca, B::cmdAnaliza, B::cmdCompara, B::cmdGraba, B::cmdGenera, B::cmdauto,
                B::cmdVerAuto, B::cmdWriteTag, B::cmdDeleteTag}, false);
        break;
    case Suceso::Soltar:
        h[B::cmdBusca] = true;
        h[B::cmdGraba] = false;
        break;
    case Suceso::Busca:
        h[B::cmdAnaliza] = true;
        break;
    case Suceso::AnalizaEmpieza:
        pon(h, {B::cmdCompara, B::cmdGenera}, false);
        break;
    case Suceso::AnalizaTermina:
        pon(h, {B::cmdCompara, B::cmdGenera}, true);
        break;
    case Suceso::Genera:
        pon(h, {B::cmdauto, B::cmdVerAuto, B::cmdWriteTag, B::cmdDeleteTag}, true);
        break;
    case Suceso::Autorun:
        h[B::cmdVerAuto] = true;
        break;
    case Suceso::Explorar:
        pon(h, {B::cmdGraba, B::cmdauto}, true);
        break;
    }
    return h;
}

const char* NombreBoton(Boton b)
{
    static const char* const nombres[kBotones] = {"cmdBusca", "cmdAnaliza", "cmdCompara", "cmdGraba",
                                                   "cmdGenera", "cmdauto", "cmdVerAuto", "cmdExplorar",
                                                   "cmdWriteTag", "cmdDeleteTag"};
    return nombres[std::size_t(b)];
}
