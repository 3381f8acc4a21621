#include "autorun/lectorautorun.h"

#include <QStringDecoder>
#include <cstring>

#include "autorun/ficheroautorun.h"
#include "common/ficheroregular.h"

namespace {

constexpr qint64 kTrozoLectura = 1 << 20;

// Where the text starts: past a byte-order mark.
qint64 InicioTexto(const QByteArray& bytes) { return bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0; }

// Calls f(inicio, largo) for each line, without its CR LF; false when stopped.
template <typename F>
bool PorLineas(const QByteArray& bytes, const std::atomic_bool* cancela, F&& f)
{
    const char* b = bytes.constData();
    const qint64 n = bytes.size();
    qint64 cuenta = 0;
    for (qint64 pos = InicioTexto(bytes); pos < n;) {
        if (cancela && (++cuenta & 0xFFFF) == 0 && cancela->load())
            return false;
        const auto* nl = static_cast<const char*>(std::memchr(b + pos, '\n', size_t(n - pos)));
        const qint64 fin = nl ? nl - b : n;
        qint64 largo = fin - pos;
        if (largo > 0 && b[fin - 1] == '\r')
            --largo;
        f(pos, largo);
        pos = fin + 1;
    }
    return true;
}

}  // namespace

QString DecodificaLinea(QByteArrayView linea)
{
    // Each line on its own: one byte that is not UTF-8 (a file cut inside a
    // letter, a line typed by hand) garbles only its own line.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8(linea);
    return utf8.hasError() ? QString::fromLatin1(linea) : texto;
}

namespace {

// A various-artists song is stored as "title#@#performer"; the person reads
// "title (performer)", or the title alone when no performer was known.
QString EtiquetaLegible(const QString& etiqueta)
{
    using autorun::QuitaEscapeSeparador;
    const qsizetype marca = etiqueta.indexOf(autorun::kSeparadorInterprete);
    if (marca < 0)
        return QuitaEscapeSeparador(etiqueta);
    const QString titulo = QuitaEscapeSeparador(etiqueta.left(marca));
    const QString interprete = QuitaEscapeSeparador(etiqueta.mid(marca + autorun::kSeparadorInterprete.size()));
    return interprete.isEmpty() ? titulo : QStringLiteral("%1 (%2)").arg(titulo, interprete);
}

}  // namespace

QStringList LeeLineas(const QString& ruta)
{
    const QByteArray bytes = LeeFicheroRegular(ruta);
    QStringList lineas;
    PorLineas(bytes, nullptr,
              [&](qint64 inicio, qint64 largo) { lineas << DecodificaLinea(QByteArrayView(bytes).sliced(inicio, largo)); });
    return lineas;
}

QByteArray LeeFicheroAutorun(const QString& ruta, const std::atomic_bool* cancela)
{
    FicheroRegular f(ruta, false);
    if (!f.abierto())
        return {};
    QByteArray bytes;
    bytes.resize(f.largo());
    qint64 leidos = 0;
    while (leidos < f.largo()) {
        if (cancela && cancela->load())
            return {};
        const qint64 r = f.Lee(leidos, bytes.data() + leidos, qMin(kTrozoLectura, f.largo() - leidos));
        if (r <= 0)
            break;
        leidos += r;
    }
    bytes.truncate(leidos);
    return bytes;
}

void LectorAutorun::Lee(const QStringList& lineas)
{
    LeeBytes(lineas.join(u'\n').toUtf8());
}

void LectorAutorun::LeeBytes(const QByteArray& bytes, const std::atomic_bool* cancela)
{
    bytes_ = bytes;
    numDiscos = 0;
    numImagenes = 0;
    seccion = 0;
    // Headers are known by their first characters only.
    PorLineas(bytes_, cancela, [this](qint64 inicio, qint64 largo) {
        const QByteArrayView linea(bytes_.constData() + inicio, largo);
        auto empieza = [&](QLatin1StringView c) { return linea.startsWith(QByteArrayView(c.data(), c.size())); };
        if (empieza(autorun::kLabel)) {
            seccion = 1;
            esperaLinea = true;
            ++numDiscos;
        } else if (empieza(autorun::kImg)) {
            seccion = 2;
            numImagenes = 0;
        } else if (empieza(autorun::kCanciones)) {
            esperaLinea = true;
            seccion = 3;
        } else {
            TrataLinea(seccion, inicio, largo);
        }
    });
}

void LectorAutorun::TrataLinea(int seccion_, qint64 inicio, qint64 largo)
{
    if (numDiscos > kMaxDiscos) {
        ++lineasDeMas;
        return;
    }
    const int d = numDiscos;
    static const QString salto = QStringLiteral("\r\n");
    auto texto = [&] { return autorun::TextoDeLinea(DecodificaLinea(QByteArrayView(bytes_).sliced(inicio, largo))); };
    switch (seccion_) {
    case 1:
        if (esperaLinea) {
            cabecera[d] = texto().toUpper();
            esperaLinea = false;
        } else {
            cabecera[d] += QStringLiteral("---") + texto() + salto + salto;
            texto2[d] = cabecera[d];
        }
        imagenActual[d] = 0;
        break;
    case 2:
        ++numImagenes;
        if (numImagenes > kMaxImagenes)
            break;
        rutaImagen[d][numImagenes] = texto();
        imagenActual[d] = numImagenes;
        imagenesDisco[d] = numImagenes;
        break;
    case 3:
        if (esperaLinea) {
            esperaLinea = false;
        } else {
            // Kept as bytes; the escape of a name that looked like a header is
            // taken off here, so showing it needs no more than decoding.
            if (QByteArrayView(bytes_).sliced(inicio, largo).startsWith("[["))
                ++inicio, --largo;
            canciones[d].push_back({inicio, largo});
            esperaLinea = true;
        }
        break;
    default:
        break;
    }
}

QString LectorAutorun::Cancion(int d, qint64 k) const
{
    const Tramo& t = canciones[d][size_t(k)];
    return EtiquetaLegible(DecodificaLinea(QByteArrayView(bytes_).sliced(t.inicio, t.largo)));
}

QString LectorAutorun::Texto(int d) const
{
    QString t = cabecera[d];
    for (qint64 k = 0; k < qint64(canciones[d].size()); ++k)
        t += Cancion(d, k) + QStringLiteral("\r\n");
    return t;
}

QString TextoDemasiadosDiscos(int numDiscos)
{
    return QStringLiteral("numero de discos no tratable con autorun maximo 16: ") + QString::number(numDiscos);
}
