#pragma once
#include <QString>
#include <functional>

#include "common/textos.h"
#include "decoding/campos.h"

class Catalogo;
class ElectorDecodificacion;
struct CandidatoDecodificacion;
class ListaMascaras;

// 1-based position of the last occurrence of buscado in texto; 1 when there
// is none (the same as an occurrence at 1). An empty buscado gives the length
// of texto plus 2.
int BuscaDesdeFinal(const QString& texto, const QString& buscado);
// 1-based position of the first occurrence of buscado in texto; the length
// of texto when there is none.
int BuscaDesdeInicio(const QString& texto, const QString& buscado);
// The text without its leading and trailing blanks (only blanks: a tab is
// part of a name).
QString QuitaBlancos(const QString& texto);
// Only digits and blanks (the empty text too).
bool EsPosicion(const QString& texto);

// Whole-text match of a compiled mask pattern: "*" any run, "?" any one
// character, "#" one digit, "[...]" one of a list ("[!...]" none of it, "a-z"
// a range); anything else, an unclosed "[" included, stands for itself.
bool CoincideComodines(const QString& texto, const QString& patron);

// What the decoder works with besides the file: the catalogue (known
// authors), the mask list loaded for this run, and who chooses.
struct ContextoDecodificacion {
    Catalogo& bd;
    ListaMascaras& mascaras;
    ElectorDecodificacion& elector;
    // Whether the files are read for their tags: offered as a candidate, and
// their covers taken for discs without pictures.
    bool etiquetas = true;
};

// Decodes campos.ruta (a work-list row text ending in a four-character
// extension) into author, disc, song and position. The four fields come in
// holding the previous file's decoding, which counts when continuacion says
// that file was of the same folder. On return ruta holds the mask used.
// Returns true when the person gave up the choice: the four fields are then
// empty and ruta is unchanged.
// etiquetas, when given, is what the file's tags say (mask "<etiquetas>"):
// offered beside the masks' candidates and scored alike; a mask that reads
// the same is that one candidate; where no mask gives a split with both an
// author and a disc it is taken without asking.
bool DecodificaFichero(ContextoDecodificacion& ctx, CamposLlevados& campos, bool continuacion,
                       const CandidatoDecodificacion* etiquetas = nullptr);
// The same with the tags asked for only when the decoding needs them (a file
// a mask accepts on its own is never read); the answer may be nullptr.
using EtiquetasPedidas = std::function<const CandidatoDecodificacion*()>;
bool DecodificaFichero(ContextoDecodificacion& ctx, CamposLlevados& campos, bool continuacion,
                       const EtiquetasPedidas& etiquetas);
