#include "infomp3.h"

#include <QByteArray>
#include <QFile>

namespace {

// How far past the leading tags a first frame is looked for. Real files put
// it right after the tags; a bounded search keeps garbage files cheap.
constexpr qint64 kVentanaBusqueda = 128 * 1024;
// Longest possible frame (layer II/III at 8000 Hz and 160 kbit/s, padded) plus
// the four bytes of the header that must follow it.
constexpr qint64 kMargenTrama = 2884 + 4;
// Files this short are not looked at.
constexpr qint64 kLargoMinimo = 256;

// kbit/s by [MPEG-1?0:1][layer-1][index]; index 0 (free format) and 15 are not frames we use.
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1}}};

// Hz by version code (1, 2, 25) and index 0..2.
int Frecuencia(int version, int indice)
{
    static constexpr int base[3] = {44100, 48000, 32000};
    if (indice < 0 || indice > 2)
        return 0;
    switch (version) {
    case 1: return base[indice];
    case 2: return base[indice] / 2;
    case 25: return base[indice] / 4;
    default: return 0;
    }
}

// One decoded frame header; valido is false for anything that cannot start a frame.
struct Cabecera {
    bool valido = false;
    quint32 palabra = 0;
    int version = 0;  // 1, 2, 25
    int capa = 0;     // 1, 2, 3
    bool crc = false;
    int bitrate = 0;  // kbit/s
    int frecuencia = 0;
    bool relleno = false;
    int modo = 0;  // 0 stereo .. 3 single channel
    qint64 largo = 0;  // frame length in bytes
    int muestras = 0;  // samples per frame
};

Cabecera Decodifica(quint32 w)
{
    Cabecera c;
    c.palabra = w;
    if ((w & 0xFFE00000u) != 0xFFE00000u)
        return c;
    const int bitsVersion = int((w >> 19) & 3);
    const int bitsCapa = int((w >> 17) & 3);
    const int indiceBitrate = int((w >> 12) & 15);
    const int indiceFrecuencia = int((w >> 10) & 3);
    if (bitsVersion == 1 || bitsCapa == 0 || indiceBitrate == 0 || indiceBitrate == 15 || indiceFrecuencia == 3)
        return c;
    c.version = bitsVersion == 3 ? 1 : bitsVersion == 2 ? 2 : 25;
    c.capa = 4 - bitsCapa;
    c.crc = ((w >> 16) & 1) == 0;
    c.bitrate = kBitrates[c.version == 1 ? 0 : 1][c.capa - 1][indiceBitrate];
    c.frecuencia = Frecuencia(c.version, indiceFrecuencia);
    c.relleno = ((w >> 9) & 1) != 0;
    c.modo = int((w >> 6) & 3);
    const qint64 bps = qint64(c.bitrate) * 1000;
    if (c.capa == 1) {
        c.muestras = 384;
        c.largo = (12 * bps / c.frecuencia + (c.relleno ? 1 : 0)) * 4;
    } else if (c.capa == 2 || c.version == 1) {
        c.muestras = 1152;
        c.largo = 144 * bps / c.frecuencia + (c.relleno ? 1 : 0);
    } else {
        c.muestras = 576;
        c.largo = 72 * bps / c.frecuencia + (c.relleno ? 1 : 0);
    }
    c.valido = true;
    return c;
}

quint32 Palabra(const QByteArray& b, qint64 i)
{
    return (quint32(quint8(b[i])) << 24) | (quint32(quint8(b[i + 1])) << 16) | (quint32(quint8(b[i + 2])) << 8) |
           quint32(quint8(b[i + 3]));
}

// Two frames belong to the same stream when version, layer and sample rate agree.
bool MismoFlujo(const Cabecera& a, const Cabecera& b)
{
    return b.valido && a.version == b.version && a.capa == b.capa && a.frecuencia == b.frecuencia;
}

// Total length of the ID3v2 tags stacked at position inicio of the data, 0 when none.
qint64 LargoId3v2(QFile& f, qint64 largoFichero)
{
    qint64 pos = 0;
    while (pos + 10 <= largoFichero) {
        if (!f.seek(pos))
            break;
        const QByteArray c = f.read(10);
        if (c.size() < 10 || !c.startsWith("ID3"))
            break;
        const quint8 mayor = quint8(c[3]), revision = quint8(c[4]), flags = quint8(c[5]);
        if (mayor == 0xFF || revision == 0xFF)
            break;
        qint64 talla = 0;
        bool sincroSegura = true;
        for (int i = 6; i < 10; ++i) {
            const quint8 b = quint8(c[i]);
            if (b & 0x80)
                sincroSegura = false;
            talla = (talla << 7) | (b & 0x7F);
        }
        if (!sincroSegura)
            break;
        pos += 10 + talla + ((mayor >= 4 && (flags & 0x10)) ? 10 : 0);
    }
    return pos;
}

// Bytes taken by the tags at the end: an ID3v1 block and an APE tag before it.
qint64 LargoTagsFinales(QFile& f, qint64 desde, qint64 largoFichero)
{
    qint64 fin = largoFichero;
    if (fin - desde >= 128 && f.seek(fin - 128) && f.read(3) == "TAG")
        fin -= 128;
    if (fin - desde >= 32 && f.seek(fin - 32)) {
        const QByteArray pie = f.read(32);
        if (pie.size() == 32 && pie.startsWith("APETAGEX")) {
            auto le32 = [&pie](int i) {
                return quint32(quint8(pie[i])) | (quint32(quint8(pie[i + 1])) << 8) |
                       (quint32(quint8(pie[i + 2])) << 16) | (quint32(quint8(pie[i + 3])) << 24);
            };
            const qint64 talla = le32(12) + ((le32(20) & 0x80000000u) ? 32 : 0);
            if (talla >= 32 && talla <= fin - desde)
                fin -= talla;
        }
    }
    return largoFichero - fin;
}

// Milliseconds rounded to the nearest, halves to the even neighbour.
qint64 DivideRedondeando(qint64 numerador, qint64 denominador)
{
    const qint64 q = numerador / denominador, r = numerador % denominador;
    if (2 * r > denominador || (2 * r == denominador && (q & 1)))
        return q + 1;
    return q;
}

quint32 Be32(const QByteArray& b, qint64 i)
{
    return Palabra(b, i);
}

// Frames counted by a Xing/Info or VBRI header in the first frame; 0 when none.
qint64 TramasCabeceraVbr(const QByteArray& b, qint64 inicio, const Cabecera& c)
{
    const qint64 finTrama = qMin<qint64>(b.size(), inicio + c.largo);
    int lateral;
    if (c.version == 1)
        lateral = c.modo == 3 ? 17 : 32;
    else
        lateral = c.modo == 3 ? 9 : 17;
    // Some encoders leave out the CRC bytes when placing the header.
    const qint64 posiciones[2] = {inicio + 4 + (c.crc ? 2 : 0) + lateral, inicio + 4 + lateral};
    for (int k = 0; k < (c.crc ? 2 : 1); ++k) {
        const qint64 x = posiciones[k];
        if (x + 12 > finTrama)
            continue;
        const QByteArray marca = b.mid(x, 4);
        if (marca != "Xing" && marca != "Info")
            continue;
        if ((Be32(b, x + 4) & 1) == 0)
            return 0;
        return Be32(b, x + 8);
    }
    const qint64 v = inicio + 36;
    if (v + 18 <= finTrama && b.mid(v, 4) == "VBRI")
        return Be32(b, v + 14);
    return 0;
}

void Rellena(const Cabecera& c, HP& hp)
{
    static const char* const modos[4] = {"stereo", "joint stereo", "dual channel", "single channel"};
    static const char* const enfasis[4] = {"no", "50/15", "reserved", "CCITT J 17"};
    auto siNo = [](bool v) { return QString::fromLatin1(v ? "yes" : "no"); };
    const quint32 w = c.palabra;
    hp.bitrate = qint16(c.bitrate);
    hp.frecuencia = c.frecuencia;
    hp.modo = QString::fromLatin1(modos[c.modo]);
    hp.enfasis = QString::fromLatin1(enfasis[w & 3]);
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
    QFile f(rutaCompleta);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const qint64 largo = f.size();
    if (largo < kLargoMinimo)
        return false;

    const qint64 inicioAudio = LargoId3v2(f, largo);
    if (inicioAudio >= largo)
        return false;
    const qint64 finAudio = largo - LargoTagsFinales(f, inicioAudio, largo);
    // Most files start their audio at once: a small read first, the whole
    // window only when the first frame is further on.
    QByteArray b;
    qint64 desde = 0;
    for (const qint64 ventana : {qint64(16 * 1024), kVentanaBusqueda}) {
        const qint64 leer = qMin(finAudio - inicioAudio, ventana + kMargenTrama);
        if (leer <= b.size())
            break;
        if (!f.seek(inicioAudio + b.size()))
            return false;
        b += f.read(leer - b.size());
        const qint64 n = b.size();
        const qint64 limite = qMin(n, ventana);
        for (qint64 i = desde; i + 4 <= limite; ++i) {
            if (quint8(b[i]) != 0xFF || (quint8(b[i + 1]) & 0xE0) != 0xE0)
                continue;
            const Cabecera c = Decodifica(Palabra(b, i));
            if (!c.valido)
                continue;
            // A lone sync word may be chance; a second header where this frame ends
            // confirms it. A frame that ends exactly at the end of the audio stands alone.
            const qint64 siguiente = i + c.largo;
            const bool confirmada = siguiente + 4 <= n ? MismoFlujo(c, Decodifica(Palabra(b, siguiente)))
                                                       : inicioAudio + siguiente == finAudio;
            if (!confirmada)
                continue;

            Rellena(c, hp);
            const qint64 tramas = TramasCabeceraVbr(b, i, c);
            if (tramas > 0) {
                hp.tiempo = DivideRedondeando(tramas * c.muestras * 1000, c.frecuencia) / 1000;
            } else {
                // Constant bit rate: bits / (kbit/s) is milliseconds.
                hp.tiempo = DivideRedondeando((finAudio - inicioAudio) * 8, c.bitrate) / 1000;
            }
            return true;
        }
        desde = qMax<qint64>(0, limite - 3);
    }
    return false;
}
