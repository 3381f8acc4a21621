#include "mp3info/textosid3v2.h"

#include <QByteArray>
#include <cctype>
#include <cstring>

#include "common/ficheroregular.h"
#include "mp3info/id3v2crudo.h"

namespace {

// A tag larger than this is not read whole (only an unsynchronised one must be).
constexpr qint64 kTagMaximo = 16 * 1024 * 1024;
// Frames are read this much at a time; a larger one (a cover) is skipped.
constexpr qint64 kTrozo = 64 * 1024;
// The highest position the catalogue holds.
constexpr int kPistaMaxima = 32767;

qint64 Be(const uchar* b, int n)
{
    qint64 v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | b[i];
    return v;
}

// UTF-8, where a byte that cannot be read so is taken as Latin-1: one stray
// byte keeps the rest of the text.
QString Utf8Tolerante(const QByteArray& b)
{
    QString r;
    r.reserve(b.size());
    for (qsizetype i = 0; i < b.size();) {
        const uchar c = uchar(b[i]);
        const int largo = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (largo > 1 && i + largo <= b.size()) {
            const QString s = QString::fromUtf8(b.constData() + i, largo);
            if (s.size() >= 1 && !s.contains(QChar::ReplacementCharacter)) {
                r += s;
                i += largo;
                continue;
            }
        }
        r += QChar(c);
        ++i;
    }
    return r;
}

// The first text of a text frame's body.
QString TextoMarco(const QByteArray& cuerpo)
{
    if (cuerpo.isEmpty())
        return {};
    const char codigo = cuerpo[0];
    QByteArray datos = cuerpo.mid(1);
    QString texto;
    if (codigo == 1 || codigo == 2) {
        // UTF-16: up to the first pair of zero bytes that ends a character.
        qsizetype fin = 0;
        while (fin + 1 < datos.size() && !(datos[fin] == '\0' && datos[fin + 1] == '\0'))
            fin += 2;
        datos.truncate(fin);
        const bool grande = codigo == 2 || !datos.startsWith("\xFF\xFE");
        if (datos.startsWith("\xFF\xFE") || datos.startsWith("\xFE\xFF"))
            datos.remove(0, 2);
        for (qsizetype i = 0; i + 1 < datos.size(); i += 2)
            texto += QChar(grande ? ushort((uchar(datos[i]) << 8) | uchar(datos[i + 1]))
                                  : ushort((uchar(datos[i + 1]) << 8) | uchar(datos[i])));
    } else {
        const qsizetype cero = datos.indexOf('\0');
        if (cero >= 0)
            datos.truncate(cero);
        texto = codigo == 3 ? Utf8Tolerante(datos) : QString::fromLatin1(datos);
    }
    return texto.trimmed();
}

// The tag's bytes after its header, read as they are needed.
class Cuerpo {
public:
    Cuerpo(const FicheroRegular& f, qint64 largo, bool sinSincronizar) : f_(f), largo_(largo)
    {
        if (sinSincronizar) {
            // Sizes count the bytes as they were before unsynchronisation.
            QByteArray todo(largo, '\0');
            todo.truncate(qMax<qint64>(0, f.Lee(10, todo.data(), largo)));
            trozo_ = SinSincronizar(todo);
            largo_ = trozo_.size();
            entero_ = true;
        }
    }
    qint64 largo() const { return largo_; }
    // n bytes at pos (from the end of the tag header); empty when short.
    QByteArray Bytes(qint64 pos, qint64 n)
    {
        if (pos < 0 || n < 0 || pos + n > largo_)
            return {};
        if (entero_ || (pos >= inicio_ && pos + n <= inicio_ + trozo_.size()))
            return trozo_.mid(pos - inicio_, n);
        if (n > kTrozo)
            return {};
        inicio_ = pos;
        trozo_.resize(qMin(kTrozo, largo_ - pos));
        trozo_.truncate(qMax<qint64>(0, f_.Lee(10 + pos, trozo_.data(), trozo_.size())));
        return trozo_.size() >= n ? trozo_.left(n) : QByteArray();
    }

private:
    const FicheroRegular& f_;
    qint64 largo_;
    QByteArray trozo_;
    qint64 inicio_ = 0;
    bool entero_ = false;
};

struct Marco {
    const char* id;
    const char* id22;
    QString TextosId3v2::*campo;
};
constexpr Marco kMarcos[] = {{"TPE1", "TP1", &TextosId3v2::artista},
                             {"TALB", "TAL", &TextosId3v2::album},
                             {"TIT2", "TT2", &TextosId3v2::titulo},
                             {"TRCK", "TRK", &TextosId3v2::pista},
                             {"TPE2", "TP2", &TextosId3v2::artistaAlbum}};

}  // namespace

TextosId3v2 LeeTextosId3v2(const FicheroRegular& f)
{
    TextosId3v2 t;
    uchar c[10];
    if (!f.abierto() || f.Lee(0, c, 10) != 10 || std::memcmp(c, "ID3", 3) != 0)
        return t;
    const int version = c[3];
    const qint64 talla = Syncsafe(c + 6);
    // Version 2.2 compressed its tags in a way never settled: not read.
    if (version < 2 || version > 4 || talla <= 0 || (version == 2 && (c[5] & 0x40)))
        return t;
    Cuerpo cuerpo(f, qMin(talla, qMin(f.largo() - 10, kTagMaximo)), version < 4 && (c[5] & 0x80));
    qint64 pos = 0;
    if (version >= 3 && (c[5] & 0x40)) {
        // An extended header: in 2.3 its size leaves out its own four bytes.
        const QByteArray e = cuerpo.Bytes(0, 4);
        if (e.size() < 4)
            return t;
        const auto* b = reinterpret_cast<const uchar*>(e.constData());
        pos = version == 3 ? 4 + Be(b, 4) : Syncsafe(b);
        if (pos < 6)
            return t;
    }
    const int largoId = version == 2 ? 3 : 4;
    const int largoCabecera = version == 2 ? 6 : 10;
    while (pos + largoCabecera <= cuerpo.largo()) {
        const QByteArray h = cuerpo.Bytes(pos, largoCabecera);
        if (h.size() < largoCabecera || h[0] == '\0')
            break;  // padding
        const auto* b = reinterpret_cast<const uchar*>(h.constData());
        qint64 largo = version == 2 ? Be(b + 3, 3) : version == 3 ? Be(b + 4, 4) : Syncsafe(b + 4);
        // Some writers put plain sizes in 2.4 tags: taken when the syncsafe
        // one would not land on a frame or the padding and the plain one would.
        auto aterriza = [&](qint64 l) {
            const qint64 sig = pos + 10 + l;
            if (l < 0 || sig >= cuerpo.largo())
                return sig == cuerpo.largo();
            const QByteArray siguiente = cuerpo.Bytes(sig, 1);
            const char x = siguiente.isEmpty() ? '\x01' : siguiente[0];
            return x == '\0' || std::isalnum(uchar(x));
        };
        if (version == 4 && !aterriza(largo) && aterriza(Be(b + 4, 4)))
            largo = Be(b + 4, 4);
        if (largo < 0 || pos + largoCabecera + largo > cuerpo.largo())
            break;
        const QByteArray id = h.left(largoId);
        const int banderas = version == 2 ? 0 : b[9];
        // Compressed or encrypted frames are not read; a group byte and a
        // data length go before the text.
        const bool legible = version == 2 || (version == 3 ? !(banderas & 0xC0) : !(banderas & 0x0C));
        const int delante = version == 3 ? ((banderas & 0x20) ? 1 : 0)
                                         : version == 4 ? ((banderas & 0x40) ? 1 : 0) + ((banderas & 0x01) ? 4 : 0) : 0;
        for (const Marco& m : kMarcos) {
            if (!legible || id != QByteArray(version == 2 ? m.id22 : m.id) || !(t.*m.campo).isEmpty() || largo <= delante)
                continue;
            QByteArray datos = cuerpo.Bytes(pos + largoCabecera + delante, largo - delante);
            if (version == 4 && ((banderas & 0x02) || (c[5] & 0x80)))
                datos = SinSincronizar(datos);
            t.*m.campo = TextoMarco(datos);
        }
        // A frame of size 0 holds nothing, and hides nothing after it.
        pos += largoCabecera + largo;
    }
    return t;
}

int NumeroDePista(const QString& texto)
{
    const QString numero = texto.section(u'/', 0, 0).trimmed();
    bool ok = false;
    const qlonglong n = numero.toLongLong(&ok);
    return ok && n > 0 && n <= kPistaMaxima ? int(n) : 0;
}
