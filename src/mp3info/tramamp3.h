#pragma once
#include <QtGlobal>

// MPEG audio frame headers: the 32-bit word at the start of every frame.

struct Cabecera {
    bool valido = false;  // false for anything that cannot start a frame
    quint32 palabra = 0;
    int version = 0;  // 1, 2, 25
    int capa = 0;     // 1, 2, 3
    bool crc = false;
    bool libre = false;  // free format: the bit rate comes from the distance between frames
    int bitrate = 0;     // kbit/s; 0 for a free-format frame whose length is not known yet
    int frecuencia = 0;
    bool relleno = false;
    int modo = 0;       // 0 stereo .. 3 single channel
    qint64 largo = 0;   // frame length in bytes; 0 while unknown (free format)
    qint64 largoLibre = 0;  // free format: the stream's unpadded frame length, once known
    int muestras = 0;   // samples per frame
};

Cabecera DecodificaCabecera(quint32 palabra);

// A free-format frame given the unpadded length its stream uses; invalid when
// that length gives no bit rate a free-format stream may have.
Cabecera ConLargoLibre(Cabecera c, qint64 largoSinRelleno);

// Unpadded lengths a free-format frame of this kind may have.
qint64 LargoLibreMinimo(const Cabecera& c);
qint64 LargoLibreMaximo(const Cabecera& c);

// The next frame of the stream whose first frame is flujo, from its header
// word; invalid when the word cannot be one.
Cabecera Siguiente(const Cabecera& flujo, quint32 palabra);

// Bytes a padding bit adds.
int BytesRelleno(const Cabecera& c);

// Whether b can follow a in one stream: version, layer, sample rate and,
// for free format, the fixed bits of the header agree.
bool MismoFlujo(const Cabecera& a, const Cabecera& b);

// Whether a header word repeats the bits every frame of c's stream shares
// when it is of free format (a quick test before the full one).
inline bool MismosBitsFijos(const Cabecera& c, quint32 palabra) { return ((c.palabra ^ palabra) & 0xFFFFFC00u) == 0; }

// The bit rates (kbit/s) a stream of this version and layer may use.
int BitrateMinimo(const Cabecera& c);
int BitrateMaximo(const Cabecera& c);

// What a Xing/Info or VBRI header in a stream's first frame says: 0 for a
// count it does not give.
struct CabeceraVbr {
    bool hay = false;
    quint32 tramas = 0;
    quint32 bytes = 0;
};
// trama holds the frame's bytes from its header on (disponibles of them).
CabeceraVbr LeeCabeceraVbr(const uchar* trama, qint64 disponibles, const Cabecera& c);

inline quint32 Be32(const uchar* b)
{
    return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]);
}
