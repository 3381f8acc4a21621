#pragma once
#include <optional>

#include "common/textos.h"
#include "decoding/campos.h"
#include "decoding/elector.h"

class ListaTrabajo;
struct ContextoDecodificacion;
struct EtiquetasFichero;


// Decodes the MP3 rows of the work list from top to bottom (only the selected
// ones when soloSeleccionadas), writes author, disc, song, position and mask
// into them, sums up every expanded folder and gives each picture its
// folder's author and disc. The masks are reloaded first. campos carries the
// decoder's texts across rows and runs. When the person gives up a choice the
// run stops there and rows already written keep their values. The flag it
// returns is on whichever way the run ends. With ctx.etiquetas the tags of
// an MP3 are read, once, when its decoding needs them (a file a mask settles
// on its own is not opened) and offered as a candidate, and a disc folder
// without picture files gets a picture row for the front cover its first MP3
// carries.
// Where a run stopped: the folder (1-based among those it decodes) and how
// many there were; 0 when it went to the end.
struct ParadaAnalisis {
    int carpeta = 0;
    int carpetas = 0;
};
// continua: after a stopped run, the songs already decoded are kept and the
// run goes on from the first one that is not.
bool AnalizaLista(ListaTrabajo& lista, CamposLlevados& campos, ContextoDecodificacion& ctx,
                  bool soloSeleccionadas, bool continua = false, ParadaAnalisis* parada = nullptr);

// Sums up the rows strictly between the folder row carpeta and the row fin:
// the folder row gets the author and disc its songs share; songs sharing the
// disc but not the author make a various-artists folder (kind "v").
// continuacion says whether any of those rows was decoded in this run.
void ResumenCarpeta(ListaTrabajo& lista, CamposLlevados& campos, int carpeta, int fin, bool continuacion);

// The candidate the tags of a file give (mask "<etiquetas>"): none unless
// they hold an artist and a title. A missing album reads "<vacio>", a
// missing track number too; a track number is written with two digits.
std::optional<CandidatoDecodificacion> CandidatoEtiquetas(const EtiquetasFichero& e);
