#include "decoding/analisis.h"

#include "decoding/decodificador.h"
#include "decoding/elector.h"
#include "decoding/mascaras.h"
#include "store/catalogo.h"
#include "worklist/listatrabajo.h"

void ResumenCarpeta(ListaTrabajo& lista, CamposLlevados& campos, int carpeta, int fin, bool continuacion)
{
    if (carpeta == 0)
        return;
    if (continuacion) {
        bool mismoAutor = true;
        bool mismoDisco = true;
        // Adjacent pairs only: a picture between two songs separates them.
        for (int i = carpeta + 1; i <= fin - 2; ++i) {
            if (!EsMp3(lista.Clase(i)) || !EsMp3(lista.Clase(i + 1)))
                continue;
            if (mismoDisco)
                campos.disco = lista.SubItem(i, columna::kDisco);
            if (mismoAutor)
                campos.autor = lista.SubItem(i, columna::kAutor);
            if (lista.SubItem(i + 1, columna::kDisco) != campos.disco) {
                mismoDisco = false;
                campos.disco.clear();
            }
            if (lista.SubItem(i + 1, columna::kAutor) != campos.autor) {
                mismoAutor = false;
                campos.autor.clear();
            }
        }
        if (!mismoAutor && mismoDisco) {
            campos.autor = kVariosArtistas;
            for (int i = carpeta + 1; i <= fin - 1; ++i)
                if (lista.Clase(i) == ClaseFila::Mp3)
                    lista.PonSubItem(i, columna::kTipo, LetraDeClase(ClaseFila::Varios));
        }
    } else {
        campos.autor.clear();
        campos.disco.clear();
    }
    lista.PonSubItem(carpeta, columna::kAutor, campos.autor);
    lista.PonSubItem(carpeta, columna::kDisco, campos.disco);
}

bool AnalizaLista(ListaTrabajo& lista, CamposLlevados& campos, ContextoDecodificacion& ctx, bool soloSeleccionadas)
{
    // Sorted by text, every folder row comes right before the rows found in it.
    lista.PonOrdenada(true);
    ctx.mascaras.CargaMascaras(ctx.bd);
    // The folders whose songs this run decodes, for the chooser to count.
    auto seDecodifica = [&](int i) { return EsMp3(lista.Clase(i)) && (!soloSeleccionadas || lista.Fila(i).seleccionada); };
    int carpetas = 0;
    for (int i = 1, ultima = -1, actual = 0; i <= lista.Cuenta(); ++i) {
        if (lista.Clase(i) == ClaseFila::Expandida)
            actual = i;
        else if (seDecodifica(i) && actual != ultima) {
            ultima = actual;
            ++carpetas;
        }
    }
    int carpetaActual = 0;
    int contada = -1;
    bool continuacion = false;
    int carpeta = 0;
    // A folder none of whose songs this run decoded keeps the summary it had.
    auto resume = [&](int fin) {
        if (continuacion || !soloSeleccionadas)
            ResumenCarpeta(lista, campos, carpeta, fin, continuacion);
    };
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        const ClaseFila clase = lista.Clase(i);
        if (seDecodifica(i)) {
            if (carpeta != contada) {
                contada = carpeta;
                ctx.elector.PonCarpeta(++carpetaActual, carpetas);
            }
            campos.ruta = lista.Fila(i).texto;
            // A choice given up stops the run; the rows written stay.
            if (DecodificaFichero(ctx, campos, continuacion))
                return true;
            lista.PonSubItem(i, columna::kAutor, campos.autor);
            lista.PonSubItem(i, columna::kDisco, campos.disco);
            lista.PonSubItem(i, columna::kCancion, campos.cancion);
            if (campos.posicion == kVacio)
                campos.posicion = QStringLiteral("00");
            lista.PonSubItem(i, columna::kPosicion, QuitaBlancos(campos.posicion));
            lista.PonSubItem(i, columna::kMascara, QuitaBlancos(campos.ruta));
            continuacion = true;
        } else if (clase == ClaseFila::Expandida) {
            resume(i);
            continuacion = false;
            carpeta = i;
        }
    }
    resume(lista.Cuenta() + 1);

    // Pictures take the author and disc of their folder.
    carpeta = 0;
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        const ClaseFila clase = lista.Clase(i);
        if (clase == ClaseFila::Imagen && carpeta != 0 && lista.Fila(i).texto.startsWith(lista.Fila(carpeta).texto)) {
            campos.autor = lista.SubItem(carpeta, columna::kAutor);
            campos.disco = lista.SubItem(carpeta, columna::kDisco);
            lista.PonSubItem(i, columna::kAutor, campos.autor);
            lista.PonSubItem(i, columna::kDisco, campos.disco);
            lista.PonSubItem(i, columna::kCancion, QString());
            lista.PonSubItem(i, columna::kPosicion, QString());
            lista.PonSubItem(i, columna::kMascara, QString());
        } else if (clase == ClaseFila::Expandida) {
            carpeta = i;
        }
    }
    return true;
}
