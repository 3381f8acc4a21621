#include "decoding/decodificador.h"

#include <vector>

#include "catalogue/nombres.h"
#include "decoding/elector.h"
#include "decoding/mascaras.h"
#include "store/catalogo.h"

int BuscaDesdeFinal(const QString& texto, const QString& buscado)
{
    if (buscado.isEmpty())
        return int(texto.size()) + 2;
    // A sought text longer than the text is not in it.
    if (buscado.size() > texto.size())
        return 1;
    const qsizetype i = texto.lastIndexOf(buscado);
    return i < 0 ? 1 : int(i) + 1;
}

int BuscaDesdeInicio(const QString& texto, const QString& buscado)
{
    if (buscado.isEmpty())
        return 0;
    const qsizetype i = texto.indexOf(buscado);
    return i < 0 ? int(texto.size()) : int(i) + 1;
}

QString QuitaBlancos(const QString& texto)
{
    qsizetype i = 0;
    qsizetype f = texto.size();
    while (i < f && texto[i] == QLatin1Char(' '))
        ++i;
    while (f > i && texto[f - 1] == QLatin1Char(' '))
        --f;
    return texto.mid(i, f - i);
}

bool EsPosicion(const QString& texto)
{
    for (const QChar c : texto)
        if (c != QLatin1Char(' ') && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return false;
    return true;
}

namespace {

// One element of a pattern: "*", or a test of one character.
struct Elemento {
    enum Tipo { Estrella, Cualquiera, Digito, Lista, Literal } tipo;
    QChar c;             // Literal
    QString lista;       // Lista: single characters and "a-z" ranges, as written
    bool negada = false; // Lista: "[!...]"
};

std::vector<Elemento> Trocea(const QString& patron)
{
    std::vector<Elemento> e;
    for (qsizetype i = 0; i < patron.size(); ++i) {
        const QChar c = patron[i];
        if (c == QLatin1Char('*')) {
            if (e.empty() || e.back().tipo != Elemento::Estrella)
                e.push_back({Elemento::Estrella, c, {}, false});
        } else if (c == QLatin1Char('?')) {
            e.push_back({Elemento::Cualquiera, c, {}, false});
        } else if (c == QLatin1Char('#')) {
            e.push_back({Elemento::Digito, c, {}, false});
        } else if (c == QLatin1Char('[')) {
            qsizetype desde = i + 1;
            const bool negada = desde < patron.size() && patron[desde] == QLatin1Char('!');
            if (negada)
                ++desde;
            const qsizetype cierre = patron.indexOf(QLatin1Char(']'), desde);
            if (cierre <= desde) {  // unclosed or empty: an ordinary character
                e.push_back({Elemento::Literal, c, {}, false});
                continue;
            }
            e.push_back({Elemento::Lista, c, patron.mid(desde, cierre - desde), negada});
            i = cierre;
        } else {
            e.push_back({Elemento::Literal, c, {}, false});
        }
    }
    return e;
}

bool EnLista(const Elemento& e, QChar c)
{
    bool dentro = false;
    const QString& l = e.lista;
    for (qsizetype i = 0; i < l.size() && !dentro; ++i) {
        if (i + 2 < l.size() && l[i + 1] == QLatin1Char('-')) {
            dentro = c >= l[i] && c <= l[i + 2];
            i += 2;
        } else {
            dentro = c == l[i];
        }
    }
    return dentro != e.negada;
}

bool Encaja(const Elemento& e, QChar c)
{
    switch (e.tipo) {
    case Elemento::Cualquiera: return true;
    case Elemento::Digito: return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    case Elemento::Lista: return EnLista(e, c);
    case Elemento::Literal: return c == e.c;
    case Elemento::Estrella: break;
    }
    return false;
}

// Where a separator of the pattern (single-character elements only) stands
// in texto, 0-based, or -1; the last place or the first.
qsizetype BuscaSeparador(const QString& texto, const std::vector<Elemento>& sep, bool ultimo)
{
    const qsizetype n = qsizetype(sep.size());
    auto esta = [&](qsizetype i) {
        for (qsizetype j = 0; j < n; ++j)
            if (!Encaja(sep[size_t(j)], texto[i + j]))
                return false;
        return true;
    };
    if (ultimo) {
        for (qsizetype i = texto.size() - n; i >= 0; --i)
            if (esta(i))
                return i;
    } else {
        for (qsizetype i = 0; i + n <= texto.size(); ++i)
            if (esta(i))
                return i;
    }
    return -1;
}

}  // namespace

bool CoincideComodines(const QString& texto, const QString& patron)
{
    const std::vector<Elemento> e = Trocea(patron);
    // Every element but "*" takes one character: on a mismatch go back to
    // the last "*" and let it take one character more.
    size_t p = 0;
    qsizetype t = 0;
    size_t estrella = size_t(-1);
    qsizetype tEstrella = 0;
    while (t < texto.size()) {
        if (p < e.size() && e[p].tipo == Elemento::Estrella) {
            estrella = p++;
            tEstrella = t;
        } else if (p < e.size() && Encaja(e[p], texto[t])) {
            ++p;
            ++t;
        } else if (estrella != size_t(-1)) {
            p = estrella + 1;
            t = ++tEstrella;
        } else {
            return false;
        }
    }
    while (p < e.size() && e[p].tipo == Elemento::Estrella)
        ++p;
    return p == e.size();
}

namespace {

const QString kNingunoPrevio = QStringLiteral("!!<vacio>!!");

// One split of the rest by a mask: components, the separators of the mask
// left of them and the text each separator met in the rest, numbered from the
// right end from 1.
struct Division {
    std::vector<QString> componente;
    std::vector<QString> separador;
    std::vector<QString> hallado;
    explicit Division(int componentes)
        : componente(size_t(componentes) + 2), separador(size_t(componentes) + 2), hallado(size_t(componentes) + 2)
    {
        // The fifth component reads "<vacio>" until a split fills it, like a
        // field the mask does not name.
        if (componente.size() > 5)
            componente[5] = kVacio;
    }
};

int CuentaComponentes(const QString& patron) { return int(patron.count(QLatin1Char('*'))); }

// Splits from the right: each separator at its last occurrence. Separators
// are found with the wildcards the match allowed, so "#" in a mask stands for
// the digit the file name has there.
Division PrimeraDivision(QString resto, const QString& patron)
{
    Division d(CuentaComponentes(patron));
    size_t k = 1;
    QString acumulado;
    for (qsizetype i = patron.size() - 1; i >= 0; --i) {
        const QChar c = patron[i];
        if (c != QLatin1Char('*')) {
            acumulado.prepend(c);
        } else if (!acumulado.isEmpty()) {
            d.separador[k] = acumulado;
            const std::vector<Elemento> sep = Trocea(acumulado);
            const qsizetype donde = BuscaSeparador(resto, sep, true);
            const int s = donde < 0 ? 1 : int(donde) + 1;
            const int largo = int(sep.size());
            d.hallado[k] = donde < 0 ? acumulado : resto.mid(donde, largo);
            // A separator that ends the rest leaves its component unfilled and
            // the next one to the left takes its number.
            if (s != resto.size()) {
                d.componente[k] = resto.mid(s - 1 + largo);
                ++k;
            }
            resto = resto.left(s - 1);
            acumulado.clear();
        }
    }
    // The leftmost component: past the separators that begin the mask, and
    // never past the last backslash left, so a mask that names no folder
    // reads only the file name.
    resto = resto.mid(qsizetype(Trocea(acumulado).size()));
    const int s = BuscaDesdeFinal(resto, QStringLiteral("\\"));
    d.componente[k] = s > 1 ? resto.mid(s) : resto;
    return d;
}

// Gives the surplus separators of the run right of the song (or whatever the
// rightmost field is) to the rightmost field instead of the leftmost.
// False when there is nothing to re-split: a single component, or folders.
bool SegundaDivision(Division& d)
{
    const QString sep = d.separador[1];
    if (sep.isEmpty() || sep == QLatin1String("\\"))
        return false;
    size_t r = 1;
    while (r + 1 < d.separador.size() && d.separador[r + 1] == sep)
        ++r;
    QString texto = d.componente[r + 1];
    for (size_t j = r; j >= 1; --j)
        texto += d.hallado[j] + d.componente[j];
    const std::vector<Elemento> elementos = Trocea(sep);
    const int largo = int(elementos.size());
    for (size_t j = r + 1; j >= 2; --j) {
        const qsizetype donde = BuscaSeparador(texto, elementos, false);
        const int s = donde < 0 ? int(texto.size()) : int(donde) + 1;
        d.componente[j] = texto.left(s - 1);
        texto = texto.mid(s - 1 + largo);
    }
    d.componente[1] = texto;
    return true;
}

QString Campo(const Division& d, int componente)
{
    if (componente <= 0)
        return kVacio;
    return size_t(componente) < d.componente.size() ? QuitaBlancos(d.componente[size_t(componente)]) : QString();
}

class Decodificacion {
public:
    Decodificacion(ContextoDecodificacion& ctx, CamposLlevados& campos, bool continuacion,
                   const EtiquetasPedidas& etiquetas)
        : ctx_(ctx), c_(campos), continuacion_(continuacion), pide_(etiquetas)
    {
        autorPrevio_ = continuacion ? campos.autor : kNingunoPrevio;
        discoPrevio_ = continuacion ? campos.disco : kNingunoPrevio;
        posicionPrevia_ = continuacion ? campos.posicion : kNingunoPrevio;
    }

    bool Ejecuta()
    {
        ctx_.elector.BorrarLista();
        // Tags chosen for the previous file go first, as a last chosen mask does.
        const bool etiquetasPrimero = ctx_.mascaras.Mascara(1) == kMascaraEtiquetas && Etiquetas();
        if (etiquetasPrimero && EvaluaEtiquetas(true))
            return Acepta(kMascaraEtiquetas);
        QString patron;
        TablaComponentes tabla;
        slot_ = 0;
        ctx_.mascaras.SiguienteMascara(patron, tabla, slot_);
        while (slot_ != 0) {
            const QString resto = c_.ruta.left(qMax<qsizetype>(0, c_.ruta.size() - 4));
            if (ctx_.mascaras.Mascara(slot_) != kMascaraEtiquetas && CoincideComodines(resto, patron)) {
                Division d = PrimeraDivision(resto, patron);
                if (Evalua(d, tabla))
                    return Acepta(ctx_.mascaras.Mascara(slot_));
                if (SegundaDivision(d) && Evalua(d, tabla))
                    return Acepta(ctx_.mascaras.Mascara(slot_));
            }
            ctx_.mascaras.SiguienteMascara(patron, tabla, slot_);
        }
        if (Etiquetas()) {
            // No mask gives the file both an author and a disc, what the
            // catalogue files a song under: the tags say more than any split.
            if (!utilizable_) {
                Toma(*Etiquetas());
                return Acepta(kMascaraEtiquetas);
            }
            if (!etiquetasPrimero && !unida_ && EvaluaEtiquetas(false))
                return Acepta(kMascaraEtiquetas);
        }
        return Pregunta();
    }

private:
    // True when the split is accepted on its own.
    bool Evalua(const Division& d, const TablaComponentes& tabla)
    {
        CandidatoDecodificacion k;
        k.disco = Campo(d, tabla.disco);
        k.cancion = Campo(d, tabla.cancion);
        k.posicion = Campo(d, tabla.posicion);
        k.autor = Campo(d, tabla.autor);
        // The same reading as the split just before it (a second split that
        // changed nothing, or the next mask reading alike) is not offered
        // twice. Only splits of this file count: a file that reads exactly
        // like the previous one must still get its candidate.
        if (hayAnterior_ && k.autor == anterior_.autor && k.disco == anterior_.disco &&
            k.cancion == anterior_.cancion && k.posicion == anterior_.posicion)
            return false;
        anterior_ = k;
        hayAnterior_ = true;
        c_.autor = k.autor;
        c_.disco = k.disco;
        c_.cancion = k.cancion;
        c_.posicion = k.posicion;

        if (c_.cancion.isEmpty() || c_.cancion == kVacio)
            return false;
        if (c_.posicion != kVacio && !EsPosicion(c_.posicion))
            return false;
        if (c_.posicion == kVacio && c_.cancion.left(5) == QLatin1String("Track"))
            c_.posicion = c_.cancion.right(2);
        utilizable_ = utilizable_ || (c_.autor != kVacio && c_.disco != kVacio);
        return Decide(slot_ == 1, ctx_.mascaras.Mascara(slot_), true);
    }

    // The tags are read when first needed: a file a mask accepts on its own
    // never needs them.
    const CandidatoDecodificacion* Etiquetas()
    {
        if (!pedidas_) {
            pedidas_ = true;
            etiquetas_ = pide_ ? pide_() : nullptr;
        }
        return etiquetas_;
    }

    // The tags as one more split, by the same rules; ultimaElegida: they were
    // what the person chose for the previous file.
    bool EvaluaEtiquetas(bool ultimaElegida)
    {
        anterior_ = *etiquetas_;
        hayAnterior_ = true;
        Toma(*etiquetas_);
        etiquetasOfrecidas_ = true;
        return Decide(ultimaElegida, kMascaraEtiquetas, false);
    }

    void Toma(const CandidatoDecodificacion& k)
    {
        c_.autor = k.autor;
        c_.disco = k.disco;
        c_.cancion = k.cancion;
        c_.posicion = k.posicion;
    }

    static bool MismaLectura(const CamposLlevados& c, const CandidatoDecodificacion& k)
    {
        if (c.autor != k.autor || c.disco != k.disco || c.cancion != k.cancion)
            return false;
        // "1" and "01" are one position.
        bool a = false, b = false;
        const int x = c.posicion.trimmed().toInt(&a), y = k.posicion.trimmed().toInt(&b);
        return a && b ? x == y : c.posicion == k.posicion;
    }

    // Accepts an admitted split on its own (true) or offers it.
    bool Decide(bool ultimaElegida, const QString& mascara, bool deMascara)
    {
        if (c_.autor == autorPrevio_ && c_.disco == discoPrevio_ && c_.disco != kVacio)
            return true;
        if (!continuacion_)
            ctx_.elector.LimpiaMismoDir();
        if (c_.disco == discoPrevio_ && ultimaElegida && continuacion_ && ctx_.elector.MismoDir())
            return true;
        // A mask reading what the tags say is one candidate with them; once
        // the tags were offered it is not offered again.
        if (deMascara && Etiquetas() && MismaLectura(c_, *Etiquetas())) {
            unida_ = true;
            if (etiquetasOfrecidas_)
                return false;
        }

        int puntos = 0;
        if (c_.autor != kVacio) {
            QString copia = c_.autor;
            puntos = DameAutor(ctx_.bd, copia, false) >= 1 ? 50 : 20;
        }
        if (continuacion_ && ultimaElegida)
            puntos += 10;
        if (c_.posicion != kVacio)
            puntos += 20;
        if (c_.disco != kVacio)
            puntos += 10;
        ctx_.elector.AnadeCandidato({c_.autor, c_.disco, c_.cancion, c_.posicion, mascara, puntos});
        return false;
    }

    bool Acepta(const QString& mascara)
    {
        // A file of the same disc without a position may carry it in its
        // song, as "02-Judas".
        if (c_.autor == autorPrevio_ && c_.disco == discoPrevio_ && c_.disco != kVacio &&
            posicionPrevia_ != kVacio && c_.posicion == kVacio && c_.cancion.contains(QLatin1Char('-'))) {
            const int s = BuscaDesdeInicio(c_.cancion, QStringLiteral("-"));
            const QString antes = c_.cancion.left(s - 1);
            if (s < c_.cancion.size() && EsPosicion(antes)) {
                c_.posicion = QuitaBlancos(antes);
                c_.cancion = QuitaBlancos(c_.cancion.mid(s));
            }
        }
        c_.ruta = mascara;
        return false;
    }

    bool Pregunta()
    {
        const int fila = ctx_.elector.Muestra(c_.ruta);
        if (fila > 0) {
            const CandidatoDecodificacion k = ctx_.elector.Candidato(fila);
            ctx_.mascaras.PonUltimaElegida(k.mascara);
            c_.disco = k.disco;
            c_.cancion = k.cancion;
            c_.posicion = k.posicion;
            c_.autor = k.autor;
            c_.ruta = k.mascara;
            ctx_.bd.autoresNuevos().AnadeAutorNuevo(c_.autor);
            return false;
        }
        c_.autor.clear();
        c_.disco.clear();
        c_.cancion.clear();
        c_.posicion.clear();
        return true;
    }

    ContextoDecodificacion& ctx_;
    CamposLlevados& c_;
    const bool continuacion_;
    QString autorPrevio_, discoPrevio_, posicionPrevia_;
    int slot_ = 0;
    CandidatoDecodificacion anterior_;
    bool hayAnterior_ = false;
    const EtiquetasPedidas& pide_;
    const CandidatoDecodificacion* etiquetas_ = nullptr;
    bool pedidas_ = false;
    bool utilizable_ = false;          // a mask gave an admitted split with author and disc
    bool unida_ = false;               // a mask read what the tags say
    bool etiquetasOfrecidas_ = false;
};

}  // namespace

bool DecodificaFichero(ContextoDecodificacion& ctx, CamposLlevados& campos, bool continuacion,
                       const EtiquetasPedidas& etiquetas)
{
    return Decodificacion(ctx, campos, continuacion, etiquetas).Ejecuta();
}

bool DecodificaFichero(ContextoDecodificacion& ctx, CamposLlevados& campos, bool continuacion,
                       const CandidatoDecodificacion* etiquetas)
{
    const EtiquetasPedidas dadas = [etiquetas] { return etiquetas; };
    return DecodificaFichero(ctx, campos, continuacion, dadas);
}
