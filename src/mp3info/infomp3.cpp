#include "infomp3.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "common/ficheroregular.h"
#include "mp3info/tramamp3.h"
#include "mp3info/id3v2crudo.h"

namespace {

// The first read: leading tags of ordinary size and the first frames.
constexpr qint64 kCabeza = 8 * 1024;
// Later reads, when the audio starts further on or the frames are walked.
constexpr qint64 kBloque = 64 * 1024;
// Past this much junk after the leading tags (a broken tag, a copy of part
// of another file) the search reads in larger blocks, to the end of the file.
constexpr qint64 kVentanaBusqueda = 1024 * 1024;
constexpr qint64 kBloqueLejos = 1024 * 1024;
// The end of the file (its tags and last frames) and a sample of the middle.
constexpr qint64 kMuestra = 4096;
// Files this short are not looked at.
constexpr qint64 kLargoMinimo = 256;
// Frames that must follow one another before a sync word is believed.
constexpr int kCadena = 4;
// First frames whose bit rates tell a constant stream from a variable one.
constexpr int kTramasMuestra = 8;
// How far a VBR header's byte count may be from the audio the file holds
// before the header is taken as stale (the file was cut, or joined to another).
constexpr double kDesvioBytesVbr = 0.04;
// Time is summed in ticks that every sample rate divides: a stream that
// changes rate part way counts each frame at its own.
constexpr qint64 kTicsPorSegundo = 14112000;
// A Lyrics3 v1 block holds at most this many bytes of lyrics.
constexpr qint64 kLetraV1Maxima = 5100;

// The file through one block of it at a time; the block is kept until a
// byte outside it is wanted.
class Lector {
public:
    explicit Lector(const QString& ruta) : f_(ruta, false) {}
    bool abierto() const { return f_.abierto(); }
    qint64 largo() const { return f_.largo(); }

    // Bytes [pos, pos + n), reading `leer` bytes from pos when they are not
    // at hand; nullptr past the end or when the read fails.
    const uchar* Datos(qint64 pos, qint64 n, qint64 leer = 0)
    {
        if (leer == 0)
            leer = pos - inicioBusqueda_ > kVentanaBusqueda ? kBloqueLejos : kBloque;
        if (pos < 0 || pos + n > f_.largo())
            return nullptr;
        if (pos < inicio_ || pos + n > inicio_ + n_) {
            leer = qMin(qMax(leer, n), f_.largo() - pos);
            if (qint64(bloque_.size()) < leer)
                bloque_.resize(size_t(leer));
            inicio_ = pos;
            n_ = qMax<qint64>(0, f_.Lee(pos, bloque_.data(), leer));
            if (n_ < n)
                return nullptr;
        }
        return bloque_.data() + (pos - inicio_);
    }
    // Where the search for the first frame began: reads far past it are larger.
    void BuscaDesde(qint64 pos) { inicioBusqueda_ = pos; }
    // Every byte is about to be walked: the file in its largest blocks.
    void LeeEntero() { inicioBusqueda_ = -kVentanaBusqueda - 1; }
    // Bytes at hand from pos on, once Datos has given pos.
    qint64 Disponibles(qint64 pos) const { return inicio_ + n_ - pos; }

    bool Palabra(qint64 pos, quint32& w)
    {
        const uchar* p = Datos(pos, 4);
        if (p)
            w = Be32(p);
        return p != nullptr;
    }

    // n bytes at pos into destino, from the block when they are in it.
    qint64 Copia(qint64 pos, uchar* destino, qint64 n)
    {
        if (pos >= inicio_ && pos + n <= inicio_ + n_) {
            std::memcpy(destino, bloque_.data() + (pos - inicio_), size_t(n));
            return n;
        }
        return f_.Lee(pos, destino, n);
    }

private:
    FicheroRegular f_;
    // One buffer for every call: reading thousands of files should not cost
    // thousands of allocations.
    static inline thread_local std::vector<uchar> bloque_;
    qint64 inicio_ = 0;
    qint64 n_ = 0;
    qint64 inicioBusqueda_ = 0;
};

// A stretch of the file read apart from the block: its end, or its middle.
struct Trozo {
    std::array<uchar, kMuestra> b;
    qint64 inicio = 0;
    qint64 n = 0;
    const uchar* En(qint64 pos, qint64 largo) const
    {
        return pos >= inicio && pos + largo <= inicio + n ? b.data() + (pos - inicio) : nullptr;
    }
};

Trozo Lee(Lector& l, qint64 desde, qint64 hasta)
{
    Trozo t;
    t.inicio = qMax(desde, hasta - kMuestra);
    t.n = qMax<qint64>(0, l.Copia(t.inicio, t.b.data(), hasta - t.inicio));
    return t;
}

// Total length of the ID3v2 tags stacked at the start of the file, 0 when
// none. Sizes are read seven bits a byte, as the standard writes them, or,
// plano, as a plain 32-bit number, as a known writer wrote them by mistake;
// a size that cannot be read so ends the tags at that tag's start.
qint64 LargoId3v2(Lector& l, bool plano)
{
    qint64 pos = 0;
    while (const uchar* c = l.Datos(pos, 10)) {
        if (std::memcmp(c, "ID3", 3) != 0 || c[3] == 0xFF || c[4] == 0xFF)
            break;
        qint64 talla = 0;
        for (int i = 6; i < 10; ++i) {
            if (!plano && (c[i] & 0x80))
                return pos;
            talla = plano ? (talla << 8) | c[i] : (talla << 7) | (c[i] & 0x7F);
        }
        pos += 10 + talla + ((c[3] >= 4 && (c[5] & 0x10)) ? 10 : 0);
    }
    return pos;
}

// Where a Lyrics3 v1 block whose end marker is at fin begins, searched for
// from desde; -1 when it does not.
qint64 InicioLetraV1(Lector& l, qint64 desde, qint64 fin)
{
    std::vector<uchar> b(size_t(qMax<qint64>(0, fin - desde)));
    if (b.size() < 11 || l.Copia(desde, b.data(), qint64(b.size())) != qint64(b.size()))
        return -1;
    for (qint64 i = qint64(b.size()) - 11; i >= 0; --i)
        if (std::memcmp(b.data() + i, "LYRICSBEGIN", 11) == 0)
            return desde + i;
    return -1;
}

// Bytes taken by the tags at the end, in whatever order they were stacked:
// ID3v1, APEv2, Lyrics3 (v1 and v2) and ID3v2 with a footer. None of them is audio.
qint64 LargoTagsFinales(Lector& l, const Trozo& cola, qint64 desde, qint64 largoFichero)
{
    qint64 fin = largoFichero;
    uchar copia[32];
    // Bytes [pos, pos + n) of the tail, read apart when the tags were larger
    // than the tail's sample.
    auto en = [&](qint64 pos, qint64 n) -> const uchar* {
        if (pos < desde)
            return nullptr;
        if (const uchar* t = cola.En(pos, n))
            return t;
        return l.Copia(pos, copia, n) == n ? copia : nullptr;
    };
    for (;;) {
        if (const uchar* t = en(fin - 128, 3); t && std::memcmp(t, "TAG", 3) == 0) {
            fin -= 128;
            continue;
        }
        if (const uchar* pie = en(fin - 32, 32); pie && std::memcmp(pie, "APETAGEX", 8) == 0) {
            auto le32 = [pie](int i) {
                return quint32(pie[i]) | (quint32(pie[i + 1]) << 8) | (quint32(pie[i + 2]) << 16) |
                       (quint32(pie[i + 3]) << 24);
            };
            const qint64 talla = le32(12) + ((le32(20) & 0x80000000u) ? 32 : 0);
            if (talla >= 32 && talla <= fin - desde) {
                fin -= talla;
                continue;
            }
        }
        if (const uchar* t = en(fin - 15, 15); t && std::memcmp(t + 6, "LYRICS200", 9) == 0) {
            qint64 talla = 0;
            for (int i = 0; i < 6 && talla >= 0; ++i)
                talla = t[i] >= '0' && t[i] <= '9' ? talla * 10 + (t[i] - '0') : -1;
            const uchar* inicio = talla >= 11 ? en(fin - 15 - talla, 11) : nullptr;
            if (inicio && std::memcmp(inicio, "LYRICSBEGIN", 11) == 0) {
                fin -= talla + 15;
                continue;
            }
        }
        if (const uchar* t = en(fin - 9, 9); t && std::memcmp(t, "LYRICSEND", 9) == 0) {
            // Lyrics3 v1 gives no size: its start is the last "LYRICSBEGIN" in reach.
            const qint64 inicio = InicioLetraV1(l, qMax(desde, fin - 9 - kLetraV1Maxima - 11), fin - 9);
            if (inicio >= 0) {
                fin = inicio;
                continue;
            }
        }
        if (const uchar* pie = en(fin - 10, 10); pie && std::memcmp(pie, "3DI", 3) == 0 && pie[3] < 0xFF) {
            const qint64 talla = Syncsafe(pie + 6);
            const uchar* cabeza = talla >= 0 ? en(fin - talla - 20, 3) : nullptr;
            if (cabeza && std::memcmp(cabeza, "ID3", 3) == 0) {
                fin -= talla + 20;
                continue;
            }
        }
        return largoFichero - fin;
    }
}

// The unpadded length of a free-format stream: the distance to the next
// header with the same fixed bits; 0 when there is none in reach.
qint64 LargoLibre(Lector& l, qint64 pos, const Cabecera& c, qint64 finAudio)
{
    const qint64 relleno = c.relleno ? BytesRelleno(c) : 0;
    const qint64 maximo = LargoLibreMaximo(c);
    for (qint64 d = LargoLibreMinimo(c); d <= maximo; ++d) {
        quint32 w;
        if (pos + relleno + d + 4 > finAudio || !l.Palabra(pos + relleno + d, w))
            return 0;
        if (MismosBitsFijos(c, w) && ConLargoLibre(c, d).valido && MismoFlujo(c, DecodificaCabecera(w)))
            return d;
    }
    return 0;
}

// A lone sync word may be chance: it is believed when the frames that follow
// it carry on the stream, or when the audio ends where they do.
bool Confirma(Lector& l, qint64 pos, Cabecera& c, qint64 finAudio)
{
    if (c.libre) {
        const qint64 base = LargoLibre(l, pos, c, finAudio);
        if (base == 0)
            return false;
        c = ConLargoLibre(c, base);
    }
    Cabecera actual = c;
    qint64 q = pos;
    for (int enCadena = 1; enCadena < kCadena; ++enCadena) {
        const qint64 sig = q + actual.largo;
        if (sig == finAudio)
            return true;
        quint32 w;
        if (sig + 4 > finAudio)
            return enCadena >= 2;
        if (!l.Palabra(sig, w))
            return false;
        actual = Siguiente(c, w);
        if (!actual.valido)
            return false;
        q = sig;
    }
    return true;
}

// The first confirmed frame in [desde, hasta): of any stream, or of the
// stream flujo when given. Its position, or -1.
qint64 BuscaTrama(Lector& l, qint64 desde, qint64 hasta, qint64 finAudio, const Cabecera* flujo, Cabecera& c)
{
    qint64 pos = desde;
    while (pos + 4 <= hasta) {
        const uchar* p = l.Datos(pos, 4);
        if (!p)
            return -1;
        const qint64 n = qMin(l.Disponibles(pos), hasta - pos);
        const auto* ff = static_cast<const uchar*>(std::memchr(p, 0xFF, size_t(n - 3)));
        if (!ff) {
            pos += n - 3;
            continue;
        }
        pos += ff - p;
        if ((ff[1] & 0xE0) == 0xE0) {
            Cabecera h = DecodificaCabecera(Be32(ff));
            if (h.valido && (!flujo || MismoFlujo(*flujo, h)) && Confirma(l, pos, h, finAudio)) {
                c = h;
                return pos;
            }
        }
        ++pos;
    }
    return -1;
}

// Ticks one frame of c plays.
qint64 Tics(const Cabecera& c) { return c.muestras * (kTicsPorSegundo / c.frecuencia); }

// Whether the frame c at pos holds a VBR header rather than audio.
bool EsCabeceraVbr(Lector& l, qint64 pos, const Cabecera& c, qint64 finAudio)
{
    const uchar* t = l.Datos(pos, qMin(c.largo, finAudio - pos));
    return t && LeeCabeceraVbr(t, qMin(l.Disponibles(pos), finAudio - pos), c).hay;
}

// Past an ID3v2 tag that starts at pos (files joined with their tags); pos
// when there is none.
qint64 SaltaId3v2(Lector& l, qint64 pos, qint64 finAudio)
{
    const uchar* t = l.Datos(pos, 10);
    if (!t || std::memcmp(t, "ID3", 3) != 0 || t[3] == 0xFF || t[4] == 0xFF)
        return pos;
    const qint64 talla = Syncsafe(t + 6);
    const qint64 fin = pos + 10 + talla + ((t[3] >= 4 && (t[5] & 0x10)) ? 10 : 0);
    return talla < 0 || fin > finAudio ? pos : fin;
}

// The frames of a stream of table bit rates walked straight from the block
// in hand: most of a long file goes through here, one word and one look-up
// a frame.
class Pasos {
public:
    explicit Pasos(const Cabecera& c) : palabra_(c.palabra)
    {
        largos_.fill(0);
        if (c.libre)
            return;
        for (quint32 indice = 1; indice < 15; ++indice)
            for (quint32 relleno = 0; relleno < 2; ++relleno) {
                const Cabecera h = DecodificaCabecera((c.palabra & ~0xF200u) | (indice << 12) | (relleno << 9));
                largos_[indice * 2 + relleno] = h.valido && MismoFlujo(c, h) ? h.largo : 0;
            }
    }
    // Counts the frames from q on while each is one of the stream's; q is
    // left at the first that is not. True when the audio ended on the way.
    bool Recorre(Lector& l, qint64& q, qint64 finAudio, qint64& tics, qint64 ticsTrama) const
    {
        for (;;) {
            const uchar* b = l.Datos(q, 4);
            if (!b)
                return false;
            const qint64 hasta = q + qMin(l.Disponibles(q), finAudio - q);
            const qint64 inicio = q;
            while (q + 4 <= hasta) {
                const quint32 w = Be32(b + (q - inicio));
                if (((w ^ palabra_) & kFijos) != 0)
                    return false;
                const qint64 largo = largos_[((w >> 11) & 30) | ((w >> 9) & 1)];
                if (largo == 0)
                    return false;
                if (q + largo > finAudio)
                    return true;
                tics += ticsTrama;
                q += largo;
            }
            if (q + 4 > finAudio)
                return true;
        }
    }

private:
    // Sync, version, layer and sample rate: what every frame of a stream shares.
    static constexpr quint32 kFijos = 0xFFFE0C00u;
    quint32 palabra_;
    std::array<qint64, 32> largos_;  // by bit-rate index and padding bit; 0: not a frame of the stream
};

// Ticks the frames play from the first one, p, to the end of the audio.
// Where the stream breaks it goes on at the next confirmed frame. A frame
// of another kind (a file of another rate or version joined on) is counted
// at its own rate, and its stream followed from there; a VBR header opening
// such a stream is no audio.
qint64 CuentaTics(Lector& l, qint64 p, Cabecera c, qint64 finAudio)
{
    l.LeeEntero();
    qint64 tics = 0;
    qint64 ticsTrama = Tics(c);
    qint64 q = p;
    Pasos pasos(c);
    while (q + 4 <= finAudio) {
        if (pasos.Recorre(l, q, finAudio, tics, ticsTrama))
            break;
        quint32 w;
        if (!l.Palabra(q, w))
            break;
        const Cabecera h = Siguiente(c, w);
        if (h.valido) {
            if (q + h.largo > finAudio)
                break;
            tics += ticsTrama;
            q += h.largo;
            continue;
        }
        Cabecera otra;
        q = BuscaTrama(l, SaltaId3v2(l, q, finAudio), finAudio, finAudio, nullptr, otra);
        if (q < 0)
            break;
        const bool otroTipo = !MismoFlujo(c, otra);
        c = otra;
        ticsTrama = Tics(c);
        pasos = Pasos(c);
        if (otroTipo && EsCabeceraVbr(l, q, c, finAudio))
            q += c.largo;
    }
    return tics;
}

// A constant-rate encoder pads frames so that frame k starts within a
// padding slot of k times the mean frame length from the first one.
struct Rejilla {
    qint64 base;      // the first audio frame
    double paso;      // mean frame length, bytes
    int bitrate;
    qint64 holgura;   // bytes a header may sit off the grid
    bool EnRejilla(qint64 pos) const
    {
        const double d = double(pos - base);
        return std::abs(d - std::nearbyint(d / paso) * paso) <= double(holgura);
    }
};

// Whether a stretch [inicio, inicio + n) of the file fits the grid: its first
// chain of frames has the grid's bit rate and sits where the grid puts
// frames. A stretch without two frames in a row says nothing against it.
bool TrozoConstante(const uchar* b, qint64 n, qint64 inicio, const Cabecera& c, const Rejilla& r)
{
    for (qint64 i = 0; i + 4 <= n; ++i) {
        if (b[i] != 0xFF)
            continue;
        int enCadena = 0;
        bool igual = true;
        qint64 q = i;
        for (Cabecera h; q + 4 <= n && (h = Siguiente(c, Be32(b + q))).valido; q += h.largo) {
            igual = igual && h.bitrate == r.bitrate;
            ++enCadena;
        }
        if (enCadena >= 2)
            return igual && r.EnRejilla(inicio + i);
        // A run of frames of another kind: the stream changed on the way.
        const Cabecera otra = DecodificaCabecera(Be32(b + i));
        if (!otra.valido || otra.libre)
            continue;
        int deOtra = 0;
        for (qint64 x = i; x + 4 <= n; ++deOtra) {
            const Cabecera h = Siguiente(otra, Be32(b + x));
            if (!h.valido)
                break;
            x += h.largo;
        }
        if (deOtra >= 3)
            return false;
    }
    return true;
}

// Whether a header of the grid's rate sits where the grid puts the frame
// nearest to x.
bool PuntoConstante(Lector& l, qint64 x, const Cabecera& c, const Rejilla& r, qint64 finAudio)
{
    const double k = std::nearbyint(double(x - r.base) / r.paso);
    const qint64 previsto = r.base + qint64(std::floor(k * r.paso));
    const qint64 desde = previsto - r.holgura;
    const qint64 hasta = qMin(finAudio, previsto + r.holgura + 4);
    std::array<uchar, 32> b;
    const qint64 n = hasta - desde;
    if (desde < r.base || n < 4 || n > qint64(b.size()))
        return true;
    if (l.Copia(desde, b.data(), n) != n)
        return false;
    for (qint64 i = 0; i + 4 <= n; ++i) {
        if (b[size_t(i)] != 0xFF)
            continue;
        const Cabecera h = Siguiente(c, Be32(b.data() + i));
        if (h.valido && h.bitrate == r.bitrate)
            return true;
    }
    return false;
}

// A stream without a header that counts its frames is taken as of constant
// bit rate when its first frames share one bit rate and the frames at a third
// and two thirds of it and at its end have that rate and sit where frames of
// that constant length would put them; any other stream has its frames
// counted. saltaPrimera: the first frame holds a VBR header, not audio.
bool EsConstante(Lector& l, qint64 p, const Cabecera& c, qint64 finAudio, const Trozo& cola, bool saltaPrimera)
{
    int bitrate = 0;
    const qint64 base = saltaPrimera ? p + c.largo : p;
    qint64 q = base;
    for (int k = 0; k < kTramasMuestra && q + 4 <= finAudio; ++k) {
        quint32 w;
        if (!l.Palabra(q, w))
            break;
        const Cabecera h = Siguiente(c, w);
        if (!h.valido)
            break;
        if (bitrate == 0)
            bitrate = h.bitrate;
        if (h.bitrate != bitrate)
            return false;
        q += h.largo;
    }
    if (bitrate == 0)
        bitrate = c.bitrate;
    const Rejilla r{base, double(c.muestras) / 8 * bitrate * 1000 / c.frecuencia, bitrate, BytesRelleno(c) + 1};
    // Two places inside: a header of the rate where the grid puts one. Bit
    // rates whose frames fall on each other's grid (320 kbit/s is ten frames
    // of 32) are told apart by the rate of the header found there.
    for (const qint64 x : {p + (finAudio - p) / 3, p + (finAudio - p) / 3 * 2})
        if (x > q && !PuntoConstante(l, x, c, r, finAudio))
            return false;
    const qint64 desde = qMax(q, cola.inicio);
    return desde >= finAudio || !cola.En(desde, finAudio - desde) ||
           TrozoConstante(cola.En(desde, finAudio - desde), finAudio - desde, desde, c, r);
}

// Whether a VBR header's counts fit the audio the file holds: the mean bit
// rate they give must be one the stream's version and layer allow.
bool Creible(const CabeceraVbr& v, const Cabecera& c, qint64 bytesAudio)
{
    if (v.tramas == 0)
        return false;
    const double segundos = double(v.tramas) * c.muestras / c.frecuencia;
    const double minimo = 0.95 * BitrateMinimo(c);
    const double maximo = 1.05 * BitrateMaximo(c) * (c.libre ? 2 : 1);
    auto posible = [&](double bytes) {
        const double kbps = bytes * 8 / segundos / 1000;
        return kbps >= minimo && kbps <= maximo;
    };
    // A count of bytes far from the audio's says the file changed since the
    // header was written: cut short, or joined to another file.
    if (v.bytes != 0 && std::abs(double(v.bytes) - double(bytesAudio)) > kDesvioBytesVbr * double(bytesAudio))
        return false;
    return posible(double(bytesAudio)) && (v.bytes == 0 || posible(double(v.bytes)));
}

// Whether the stream holds a frame of audio: a whole one after its VBR
// header, or more than a lone frame.
bool HayAudio(Lector& l, qint64 p, const Cabecera& c, qint64 finAudio, bool conCabeceraVbr)
{
    const qint64 q = p + c.largo;
    if (!conCabeceraVbr)
        return q < finAudio;
    quint32 w;
    if (q + 4 > finAudio || !l.Palabra(q, w))
        return false;
    const Cabecera h = DecodificaCabecera(w);
    return h.valido && q + (h.libre ? c.largo : h.largo) <= finAudio;
}

// Milliseconds rounded to the nearest, halves to the even neighbour.
qint64 DivideRedondeando(qint64 numerador, qint64 denominador)
{
    const qint64 q = numerador / denominador, r = numerador % denominador;
    if (2 * r > denominador || (2 * r == denominador && (q & 1)))
        return q + 1;
    return q;
}

void Rellena(const Cabecera& c, HP& hp)
{
    // Literal texts: filling the record allocates nothing.
    static const QString modos[4] = {QStringLiteral("stereo"), QStringLiteral("joint stereo"),
                                     QStringLiteral("dual channel"), QStringLiteral("single channel")};
    static const QString enfasis[4] = {QStringLiteral("no"), QStringLiteral("50/15"), QStringLiteral("reserved"),
                                       QStringLiteral("CCITT J 17")};
    static const QString si = QStringLiteral("yes"), no = QStringLiteral("no");
    auto siNo = [](bool v) { return v ? si : no; };
    const quint32 w = c.palabra;
    hp.bitrate = qint16(c.bitrate);
    hp.frecuencia = c.frecuencia;
    hp.modo = modos[c.modo];
    hp.enfasis = enfasis[w & 3];
    hp.version = qint16(c.version);
    hp.capa = qint16(c.capa);
    hp.relleno = siNo(c.relleno);
    hp.protegido = siNo(c.crc);
    hp.copyright = siNo((w >> 3) & 1);
    hp.original = siNo((w >> 2) & 1);
    hp.privado = siNo((w >> 8) & 1);
}

}  // namespace

bool DameInfoMp3(const QString& rutaCompleta, HP& hp)
{
    hp = HP{};
    Lector l(rutaCompleta);
    const qint64 largo = l.largo();
    if (!l.abierto() || largo < kLargoMinimo || !l.Datos(0, 10, kCabeza))
        return false;
    const qint64 inicioAudio = LargoId3v2(l, false);
    if (inicioAudio >= largo)
        return false;
    const Trozo cola = Lee(l, 0, largo);
    const qint64 finAudio = largo - LargoTagsFinales(l, cola, inicioAudio, largo);

    Cabecera c;
    qint64 p = -1;
    if (inicioAudio > 0 || std::memcmp(l.Datos(0, 10), "ID3", 3) == 0) {
        // The stream begins where the tags end; when it does not, the size
        // may have been written as a plain number.
        p = BuscaTrama(l, inicioAudio, qMin(finAudio, inicioAudio + 4), finAudio, nullptr, c);
        const qint64 plano = p < 0 ? LargoId3v2(l, true) : inicioAudio;
        if (plano != inicioAudio && plano < finAudio)
            p = BuscaTrama(l, plano, qMin(finAudio, plano + 4), finAudio, nullptr, c);
    }
    if (p < 0) {
        l.BuscaDesde(inicioAudio);
        p = BuscaTrama(l, inicioAudio, finAudio, finAudio, nullptr, c);
    }
    if (p < 0)
        return false;
    // Audio starts at the first frame: whatever lies before it is not played.
    const qint64 bytesAudio = finAudio - p;
    const uchar* trama = l.Datos(p, qMin(c.largo, bytesAudio));
    const CabeceraVbr vbr = trama ? LeeCabeceraVbr(trama, qMin(l.Disponibles(p), bytesAudio), c) : CabeceraVbr{};
    if (!HayAudio(l, p, c, finAudio, vbr.hay))
        return false;
    Rellena(c, hp);
    qint64 tics;
    if (Creible(vbr, c, bytesAudio)) {
        tics = qint64(vbr.tramas) * Tics(c);
    } else if (!c.libre && EsConstante(l, p, c, finAudio, cola, vbr.hay)) {
        // Constant bit rate: bits / (kbit/s) is milliseconds.
        hp.tiempo = DivideRedondeando(bytesAudio * 8, c.bitrate) / 1000;
        return true;
    } else {
        // Nothing says how many frames there are: they are counted.
        tics = CuentaTics(l, vbr.hay ? p + c.largo : p, c, finAudio);
        if (tics == 0) {
            hp = HP{};
            return false;
        }
    }
    hp.tiempo = DivideRedondeando(tics * 1000, kTicsPorSegundo) / 1000;
    return true;
}
