#include "autorun/lectorautorun.h"

#include <QStringDecoder>

#include "autorun/ficheroautorun.h"
#include "common/ficheroregular.h"

QStringList LeeLineas(const QString& ruta)
{
    QByteArray bytes = LeeFicheroRegular(ruta);
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
            TrataLinea(seccion, autorun::TextoDeLinea(linea));
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
            texto[d] += linea + salto;
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
