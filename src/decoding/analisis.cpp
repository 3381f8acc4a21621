#include "decoding/analisis.h"

#include "decoding/decodificador.h"
#include "decoding/elector.h"
#include "decoding/etiquetasadelantadas.h"
#include "decoding/mascaras.h"
#include "mp3info/etiquetas.h"
#include "store/catalogo.h"
#include "worklist/listatrabajo.h"

#include <functional>
#include <optional>
#include <vector>

std::optional<CandidatoDecodificacion> CandidatoEtiquetas(const EtiquetasFichero& e)
{
    if (e.artista.isEmpty() || e.titulo.isEmpty())
        return std::nullopt;
    CandidatoDecodificacion k;
    k.autor = e.artista;
    k.disco = e.album.isEmpty() ? kVacio : e.album;
    k.cancion = e.titulo;
    k.posicion = e.pista > 0 ? QStringLiteral("%1").arg(e.pista, 2, 10, QLatin1Char('0')) : kVacio;
    k.mascara = kMascaraEtiquetas;
    return k;
}

namespace {

// A disc folder without picture files shows the front cover its first MP3
// carries: a picture row named after that file, whose tag is the MP3's path
// (so recording takes the picture's bytes out of it).
void PortadasDeFicheros(ListaTrabajo& lista, const std::function<const EtiquetasFichero*(int)>& etiquetasDe)
{
    struct Nueva {
        QString texto, tag;
    };
    std::vector<Nueva> nuevas;
    for (int f = 1; f <= lista.Cuenta(); ++f) {
        const QString disco = lista.SubItem(f, columna::kDisco);
        if (lista.Clase(f) != ClaseFila::Expandida || disco.isEmpty() || disco == kVacio)
            continue;
        int primera = 0;
        bool conImagen = false;
        for (int i = f + 1; i <= lista.Cuenta() && lista.Clase(i) != ClaseFila::Expandida; ++i) {
            if (lista.Clase(i) == ClaseFila::Imagen)
                conImagen = true;
            else if (EsMp3(lista.Clase(i)) && primera == 0)
                primera = i;
        }
        if (conImagen || primera == 0)
            continue;
        const FilaTrabajo& mp3 = lista.Fila(primera);
        const EtiquetasFichero* e = etiquetasDe(primera);
        if (e->portada)
            nuevas.push_back({mp3.texto + kSufijoPortada + e->extensionPortada, mp3.tag});
    }
    for (const Nueva& n : nuevas)
        lista.Anade(n.texto, n.tag, LetraDeClase(ClaseFila::Imagen), QStringLiteral("img"));
}

}  // namespace

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

bool AnalizaLista(ListaTrabajo& lista, CamposLlevados& campos, ContextoDecodificacion& ctx, bool soloSeleccionadas,
                  bool continua, ParadaAnalisis* parada)
{
    // Sorted by text, every folder row comes right before the rows found in it.
    lista.PonOrdenada(true);
    ctx.mascaras.CargaMascaras(ctx.bd);
    // The folders whose songs this run decodes, for the chooser to count.
    auto seDecodifica = [&](int i) {
        return EsMp3(lista.Clase(i)) && (!soloSeleccionadas || lista.Fila(i).seleccionada) &&
               (!continua || lista.CuentaSubItems(i) < columna::kMascara);
    };
    int carpetas = 0;
    for (int i = 1, ultima = -1, actual = 0; i <= lista.Cuenta(); ++i) {
        if (lista.Clase(i) == ClaseFila::Expandida)
            actual = i;
        else if (seDecodifica(i) && actual != ultima) {
            ultima = actual;
            ++carpetas;
        }
    }
    // The tags of each file, read when its decoding first needs them (and
    // read ahead where every file's are needed).
    QStringList rutas(lista.Cuenta() + 1);
    std::vector<int> orden;
    if (ctx.etiquetas) {
        for (int i = 1; i <= lista.Cuenta(); ++i) {
            if (EsMp3(lista.Clase(i)))
                rutas[i] = lista.Fila(i).tag;
            if (seDecodifica(i))
                orden.push_back(i);
        }
    }
    EtiquetasAdelantadas leidas(std::move(rutas), std::move(orden));
    auto etiquetasDe = [&](int i) -> const EtiquetasFichero* { return &leidas.De(i); };
    int carpetaActual = 0;
    int contada = -1;
    bool continuacion = false;
    int carpeta = 0;
    // A folder none of whose songs this run decoded keeps the summary it had.
    auto resume = [&](int fin) {
        if (continuacion || (!soloSeleccionadas && !continua))
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
            std::optional<CandidatoDecodificacion> etiquetas;
            const EtiquetasPedidas lee = [&]() -> const CandidatoDecodificacion* {
                if (ctx.etiquetas)
                    etiquetas = CandidatoEtiquetas(*etiquetasDe(i));
                return etiquetas ? &*etiquetas : nullptr;
            };
            // A choice given up stops the run; the rows written stay.
            if (DecodificaFichero(ctx, campos, continuacion, lee)) {
                if (parada)
                    *parada = {carpetaActual, carpetas};
                return true;
            }
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
    if (ctx.etiquetas)
        PortadasDeFicheros(lista, etiquetasDe);

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
