#include "autorun/lectorautorun.h"

#include <QFile>
#include <QStringDecoder>

#include "autorun/ficheroautorun.h"

namespace {

// A various-artists song is stored as "title#@#performer"; the person reads
// "title (performer)", or the title alone when no performer was known.
QString EtiquetaLegible(const QString& etiqueta)
{
    const qsizetype marca = etiqueta.indexOf(QLatin1String("#@#"));
    if (marca < 0)
        return etiqueta;
    const QString interprete = etiqueta.mid(marca + 3);
    return interprete.isEmpty() ? etiqueta.left(marca) : QStringLiteral("%1 (%2)").arg(etiqueta.left(marca), interprete);
}

}  // namespace

QStringList LeeLineas(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    if (bytes.isEmpty())
        return {};
    QList<QByteArray> crudas = bytes.split('\n');
    if (bytes.endsWith('\n'))
        crudas.removeLast();
    QStringList lineas;
    lineas.reserve(crudas.size());
    // Each line on its own: one byte that is not UTF-8 (a file cut inside a
    // letter, a line typed by hand) garbles only its own line.
    for (QByteArray& l : crudas) {
        if (l.endsWith('\r'))
            l.chop(1);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString texto = utf8(l);
        lineas << (utf8.hasError() ? QString::fromLatin1(l) : texto);
    }
    return lineas;
}

void LectorAutorun::Lee(const QStringList& lineas)
{
    numDiscos = 0;
    numImagenes = 0;
    seccion = 0;
    // Headers are known by their first characters only.
    for (const QString& linea : lineas) {
        if (linea.startsWith(autorun::kLabel)) {
            seccion = 1;
            esperaLinea = true;
            ++numDiscos;
        } else if (linea.startsWith(autorun::kImg)) {
            seccion = 2;
            numImagenes = 0;
        } else if (linea.startsWith(autorun::kCanciones)) {
            esperaLinea = true;
            seccion = 3;
        } else {
            TrataLinea(seccion, linea);
        }
    }
}

void LectorAutorun::TrataLinea(int seccion_, const QString& linea)
{
    if (numDiscos > kMaxDiscos) {
        ++lineasDeMas;
        return;
    }
    const int d = numDiscos;
    static const QString salto = QStringLiteral("\r\n");
    switch (seccion_) {
    case 1:
        if (esperaLinea) {
            texto[d] = linea.toUpper();
            esperaLinea = false;
        } else {
            texto[d] += QStringLiteral("---") + linea + salto + salto;
            texto2[d] = texto[d];
        }
        imagenActual[d] = 0;
        break;
    case 2:
        ++numImagenes;
        if (numImagenes > kMaxImagenes)
            break;
        rutaImagen[d][numImagenes] = linea;
        imagenActual[d] = numImagenes;
        imagenesDisco[d] = numImagenes;
        break;
    case 3:
        if (esperaLinea)
            esperaLinea = false;
        else {
            texto[d] += EtiquetaLegible(linea) + salto;
            esperaLinea = true;
        }
        break;
    default:
        break;
    }
}

QString TextoDemasiadosDiscos(int numDiscos)
{
    return QStringLiteral("numero de discos no tratable con autorun maximo 16: ") + QString::number(numDiscos);
}
