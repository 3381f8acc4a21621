#include "mp3info/id3v2crudo.h"

#include <cstring>

namespace {

quint32 Entero(const char* p)
{
    return (quint32(quint8(p[0])) << 24) | (quint32(quint8(p[1])) << 16) | (quint32(quint8(p[2])) << 8) |
           quint32(quint8(p[3]));
}

qint64 Sincronizado(const char* p) { return qMax<qint64>(0, Syncsafe(reinterpret_cast<const uchar*>(p))); }

bool IdValido(const char* p)
{
    for (int i = 0; i < 4; ++i)
        if (!((p[i] >= 'A' && p[i] <= 'Z') || (p[i] >= '0' && p[i] <= '9')))
            return false;
    return true;
}

}  // namespace

qint64 Syncsafe(const uchar* b)
{
    qint64 v = 0;
    for (int i = 0; i < 4; ++i) {
        if (b[i] & 0x80)
            return -1;
        v = (v << 7) | b[i];
    }
    return v;
}

QByteArray SinSincronizar(const QByteArray& d)
{
    QByteArray r;
    r.reserve(d.size());
    for (qsizetype i = 0; i < d.size(); ++i) {
        r += d[i];
        if (uchar(d[i]) == 0xFF && i + 1 < d.size() && d[i + 1] == '\0')
            ++i;
    }
    return r;
}

qint64 LargoEtiquetaId3v2(const QByteArray& cabeza)
{
    if (cabeza.size() < 10 || !cabeza.startsWith("ID3") || quint8(cabeza[3]) < 2 || quint8(cabeza[3]) > 4)
        return 0;
    for (int i = 6; i < 10; ++i)
        if (quint8(cabeza[i]) & 0x80)
            return 0;
    const bool pie = quint8(cabeza[3]) == 4 && (quint8(cabeza[5]) & 0x10);
    return 10 + qint64(Sincronizado(cabeza.constData() + 6)) + (pie ? 10 : 0);
}

std::vector<MarcoCrudo> MarcosCrudos(const QByteArray& etiqueta)
{
    std::vector<MarcoCrudo> marcos;
    const qint64 largo = LargoEtiquetaId3v2(etiqueta);
    const int version = largo ? quint8(etiqueta[3]) : 0;
    if (version != 3 && version != 4)
        return marcos;
    const quint8 banderas = quint8(etiqueta[5]);
    QByteArray cuerpo = etiqueta.mid(10, qMin<qint64>(largo, etiqueta.size()) - 10);
    if (version == 3 && (banderas & 0x80))
        cuerpo = SinSincronizar(cuerpo);
    qint64 pos = 0;
    if (banderas & 0x40) {  // an extended header comes before the frames
        if (cuerpo.size() < 4)
            return marcos;
        pos = version == 3 ? 4 + qint64(Entero(cuerpo.constData())) : qint64(Sincronizado(cuerpo.constData()));
    }
    while (pos + 10 <= cuerpo.size()) {
        const char* p = cuerpo.constData() + pos;
        if (!IdValido(p))
            break;
        const qint64 tam = version == 4 ? qint64(Sincronizado(p + 4)) : qint64(Entero(p + 4));
        if (pos + 10 + tam > cuerpo.size())
            break;
        marcos.push_back({QByteArray(p, 4), cuerpo.mid(pos, 10 + tam)});
        pos += 10 + tam;
    }
    return marcos;
}

QByteArray EtiquetaRellena(int version, const std::vector<MarcoCrudo>& marcos, qint64 largo)
{
    QByteArray b("ID3");
    b.append(char(version)).append('\0').append('\0');
    const quint32 cuerpo = quint32(largo - 10);
    for (int desplaza : {21, 14, 7, 0})
        b.append(char((cuerpo >> desplaza) & 0x7F));
    for (const MarcoCrudo& m : marcos)
        b += m.bytes;
    if (b.size() < largo)
        b.append(QByteArray(int(largo - b.size()), '\0'));
    return b;
}
