#include "decoding/DlgDecodif.h"
#include "decoding/analisis.h"
#include "decoding/decodificador.h"
#include "main_window/frmVaro.h"

ElectorDecodificacion& frmVaro::Elector()
{
    if (elector)
        return *elector;
    if (!dlgDecodif)
        dlgDecodif = new DlgDecodif(*imagenes, avisos, this);
    return *dlgDecodif;
}

// "Analiza": every MP3 row. "Compara" and "Genera" come back even when the
// person gave up a choice half way.
void frmVaro::cmdAnaliza_Click()
{
    Aplica(Suceso::AnalizaEmpieza);
    ContextoDecodificacion ctx{bd, mascaras, Elector()};
    AnalizaLista(lista, campos, ctx, false);
    Aplica(Suceso::AnalizaTermina);
    RefrescaLista();
}

// F3 in the work list: the selected rows only; the buttons stay as they are.
void frmVaro::AnalizaSeleccionadas()
{
    ContextoDecodificacion ctx{bd, mascaras, Elector()};
    AnalizaLista(lista, campos, ctx, true);
    RefrescaLista();
}
