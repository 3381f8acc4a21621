#include "mp3info/tramamp3.h"

#include <cstring>

namespace {

// kbit/s by [MPEG-1?0:1][layer-1][index]; index 0 is the free format, 15 is forbidden.
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1}}};

int Frecuencia(int version, int indice)
{
    static constexpr int base[3] = {44100, 48000, 32000};
    switch (version) {
    case 1: return base[indice];
    case 2: return base[indice] / 2;
    default: return base[indice] / 4;
    }
}

// A frame is `factor` x bit rate / sample rate slots long, plus one padding slot.
int Factor(const Cabecera& c) { return c.capa == 1 ? 12 : (c.capa == 2 || c.version == 1) ? 144 : 72; }
int BytesRanura(const Cabecera& c) { return c.capa == 1 ? 4 : 1; }

qint64 LargoDe(const Cabecera& c, qint64 bps)
{
    return (Factor(c) * bps / c.frecuencia + (c.relleno ? 1 : 0)) * BytesRanura(c);
}

}  // namespace

Cabecera DecodificaCabecera(quint32 w)
{
    Cabecera c;
    c.palabra = w;
    if ((w & 0xFFE00000u) != 0xFFE00000u)
        return c;
    const int bitsVersion = int((w >> 19) & 3);
    const int bitsCapa = int((w >> 17) & 3);
    const int indiceBitrate = int((w >> 12) & 15);
    const int indiceFrecuencia = int((w >> 10) & 3);
    if (bitsVersion == 1 || bitsCapa == 0 || indiceBitrate == 15 || indiceFrecuencia == 3)
        return c;
    c.version = bitsVersion == 3 ? 1 : bitsVersion == 2 ? 2 : 25;
    c.capa = 4 - bitsCapa;
    c.crc = ((w >> 16) & 1) == 0;
    c.libre = indiceBitrate == 0;
    c.bitrate = kBitrates[c.version == 1 ? 0 : 1][c.capa - 1][indiceBitrate];
    c.frecuencia = Frecuencia(c.version, indiceFrecuencia);
    c.relleno = ((w >> 9) & 1) != 0;
    c.modo = int((w >> 6) & 3);
    c.muestras = c.capa == 1 ? 384 : (c.capa == 2 || c.version == 1) ? 1152 : 576;
    c.largo = c.libre ? 0 : LargoDe(c, qint64(c.bitrate) * 1000);
    c.valido = true;
    return c;
}

int BitrateMinimo(const Cabecera& c) { return kBitrates[c.version == 1 ? 0 : 1][c.capa - 1][1]; }
int BitrateMaximo(const Cabecera& c) { return kBitrates[c.version == 1 ? 0 : 1][c.capa - 1][14]; }

// Free format may go past the table, up to twice its highest rate.
qint64 LargoLibreMinimo(const Cabecera& c)
{
    return Factor(c) * qint64(BitrateMinimo(c)) * 1000 / c.frecuencia * BytesRanura(c);
}

qint64 LargoLibreMaximo(const Cabecera& c)
{
    return (Factor(c) * qint64(BitrateMaximo(c)) * 2000 / c.frecuencia + 1) * BytesRanura(c);
}

Cabecera ConLargoLibre(Cabecera c, qint64 largoSinRelleno)
{
    if (!c.valido || !c.libre || largoSinRelleno < LargoLibreMinimo(c) || largoSinRelleno > LargoLibreMaximo(c) ||
        largoSinRelleno % BytesRanura(c) != 0) {
        c.valido = false;
        return c;
    }
    const qint64 ranuras = largoSinRelleno / BytesRanura(c);
    c.bitrate = int((ranuras * c.frecuencia + Factor(c) * 500) / (Factor(c) * 1000));
    c.largo = largoSinRelleno + (c.relleno ? BytesRanura(c) : 0);
    c.largoLibre = largoSinRelleno;
    return c;
}

int BytesRelleno(const Cabecera& c) { return BytesRanura(c); }

Cabecera Siguiente(const Cabecera& flujo, quint32 palabra)
{
    Cabecera c = DecodificaCabecera(palabra);
    if (!MismoFlujo(flujo, c)) {
        c.valido = false;
        return c;
    }
    return c.libre ? ConLargoLibre(c, flujo.largoLibre) : c;
}

bool MismoFlujo(const Cabecera& a, const Cabecera& b)
{
    if (!b.valido || a.version != b.version || a.capa != b.capa || a.frecuencia != b.frecuencia || a.libre != b.libre)
        return false;
    return !a.libre || MismosBitsFijos(a, b.palabra);
}

CabeceraVbr LeeCabeceraVbr(const uchar* b, qint64 disponibles, const Cabecera& c)
{
    CabeceraVbr v;
    if (c.capa != 3)
        return v;
    const qint64 fin = c.largo > 0 ? qMin(disponibles, c.largo) : disponibles;
    const int lateral = c.version == 1 ? (c.modo == 3 ? 17 : 32) : (c.modo == 3 ? 9 : 17);
    // Some encoders leave out the CRC bytes when placing the header.
    const qint64 posiciones[2] = {4 + (c.crc ? 2 : 0) + lateral, 4 + lateral};
    for (int k = 0; k < (c.crc ? 2 : 1); ++k) {
        const qint64 x = posiciones[k];
        if (x + 8 > fin || (std::memcmp(b + x, "Xing", 4) != 0 && std::memcmp(b + x, "Info", 4) != 0))
            continue;
        v.hay = true;
        const quint32 flags = Be32(b + x + 4);
        qint64 campo = x + 8;
        if ((flags & 1) && campo + 4 <= fin) {
            v.tramas = Be32(b + campo);
            campo += 4;
        }
        if ((flags & 2) && campo + 4 <= fin)
            v.bytes = Be32(b + campo);
        return v;
    }
    if (36 + 18 <= fin && std::memcmp(b + 36, "VBRI", 4) == 0) {
        v.hay = true;
        v.bytes = Be32(b + 36 + 10);
        v.tramas = Be32(b + 36 + 14);
    }
    return v;
}
