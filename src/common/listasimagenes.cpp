#include "common/listasimagenes.h"

#include <QPainter>
#include <QPainterPath>

const QStringList& ListasImagenes::ClavesPequenas()
{
    static const QStringList claves = {
        "text", "cancion", "disco", "grupodisco", "autor", "cerrada", "cd", "false", "list", "mp3",
        "img", "true", "abierta", "BD", "GrupoAutor", "GrupoCD", "mascara", "posicion", "nota", "cdlibro"};
    return claves;
}

const QStringList& ListasImagenes::ClavesGrandes()
{
    static const QStringList claves = {
        "text", "autor", "cancion", "disco", "grupodisco", "cerrada", "cd", "false", "list", "mp3", "img",
        "true", "abierta", "GrupoAutor", "GrupoCD", "BD", "Mascara", "Posicion", "\"cdlibro\"", "nota"};
    return claves;
}

ListasImagenes::ListasImagenes()
{
    for (const QString& c : ClavesPequenas())
        pequenas_.insert(c, QIcon(DibujaImagen(c, 16)));
    for (const QString& c : ClavesGrandes())
        grandes_.insert(c, QIcon(DibujaImagen(c, 32)));
}

namespace {

// Everything is drawn on a 16-unit grid and scaled.
void carpeta(QPainter& p, bool abierta)
{
    p.setBrush(QColor(230, 180, 60));
    p.drawRect(QRectF(1, 4, 13, 10));
    p.drawRect(QRectF(1, 3, 5, 2));
    if (abierta) {
        p.setBrush(QColor(250, 215, 110));
        QPolygonF tapa;
        tapa << QPointF(3, 7) << QPointF(15, 7) << QPointF(13, 14) << QPointF(1, 14);
        p.drawPolygon(tapa);
    }
}

void nota(QPainter& p, const QColor& color)
{
    p.setBrush(color);
    p.drawEllipse(QRectF(2, 10, 5, 4));
    p.drawEllipse(QRectF(9, 9, 5, 4));
    p.drawRect(QRectF(6, 2, 1.2, 10));
    p.drawRect(QRectF(13, 1, 1.2, 10));
    p.drawRect(QRectF(6, 1.5, 8.2, 2));
}

void disco(QPainter& p, const QColor& color)
{
    p.setBrush(color);
    p.drawEllipse(QRectF(1, 1, 14, 14));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 6, 4, 4));
}

void persona(QPainter& p, const QColor& color, qreal dx = 0)
{
    p.setBrush(color);
    p.drawEllipse(QRectF(5 + dx, 1, 6, 6));
    QPainterPath cuerpo;
    cuerpo.moveTo(2 + dx, 15);
    cuerpo.cubicTo(2 + dx, 8, 14 + dx, 8, 14 + dx, 15);
    cuerpo.closeSubpath();
    p.drawPath(cuerpo);
}

void pagina(QPainter& p, const QColor& lineas)
{
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 1, 10, 14));
    p.setPen(QPen(lineas, 1));
    for (int y = 4; y <= 12; y += 3)
        p.drawLine(QPointF(5, y), QPointF(11, y));
}

void letra(QPainter& p, const QString& texto, const QColor& fondo)
{
    p.setBrush(fondo);
    p.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, texto);
}

}  // namespace

QPixmap DibujaImagen(const QString& claveOriginal, int lado)
{
    QString clave = claveOriginal.toLower();
    clave.remove(QLatin1Char('"'));
    QPixmap pm(lado, lado);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 16.0, lado / 16.0);
    p.setPen(QPen(QColor(60, 60, 60), 0.8));

    if (clave == "cerrada") {
        carpeta(p, false);
    } else if (clave == "abierta") {
        carpeta(p, true);
    } else if (clave == "cancion") {
        nota(p, QColor(40, 90, 200));
    } else if (clave == "mp3") {
        nota(p, QColor(200, 60, 60));
    } else if (clave == "disco") {
        disco(p, QColor(40, 40, 40));
    } else if (clave == "cd") {
        disco(p, QColor(180, 190, 210));
    } else if (clave == "grupodisco") {
        disco(p, QColor(40, 40, 40));
        p.setBrush(QColor(120, 120, 120));
        p.drawEllipse(QRectF(9, 9, 6, 6));
    } else if (clave == "grupocd") {
        disco(p, QColor(180, 190, 210));
        p.setBrush(QColor(140, 160, 200));
        p.drawEllipse(QRectF(9, 9, 6, 6));
    } else if (clave == "cdlibro") {
        p.setBrush(QColor(150, 80, 40));
        p.drawRect(QRectF(1, 2, 14, 12));
        disco(p, QColor(180, 190, 210));
    } else if (clave == "autor") {
        persona(p, QColor(70, 140, 70));
    } else if (clave == "grupoautor") {
        persona(p, QColor(120, 170, 120), 2.5);
        persona(p, QColor(70, 140, 70), -2);
    } else if (clave == "true") {
        p.setPen(QPen(QColor(20, 150, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 8), QPointF(7, 12));
        p.drawLine(QPointF(7, 12), QPointF(13, 3));
    } else if (clave == "false") {
        p.setPen(QPen(QColor(200, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
    } else if (clave == "text") {
        pagina(p, QColor(80, 80, 80));
    } else if (clave == "nota") {
        pagina(p, QColor(200, 150, 30));
    } else if (clave == "list") {
        pagina(p, QColor(40, 90, 200));
    } else if (clave == "img") {
        p.setBrush(QColor(140, 200, 240));
        p.drawRect(QRectF(1, 2, 14, 12));
        p.setBrush(QColor(60, 150, 60));
        QPolygonF monte;
        monte << QPointF(1, 14) << QPointF(6, 7) << QPointF(10, 12) << QPointF(12, 10) << QPointF(15, 14);
        p.drawPolygon(monte);
        p.setBrush(QColor(250, 220, 60));
        p.drawEllipse(QRectF(10, 3.5, 3, 3));
    } else if (clave == "bd") {
        p.setBrush(QColor(120, 120, 170));
        p.drawRect(QRectF(2, 3, 12, 10));
        p.drawEllipse(QRectF(2, 1, 12, 4));
        p.drawEllipse(QRectF(2, 11, 12, 4));
    } else if (clave == "mascara") {
        letra(p, QStringLiteral("M"), QColor(130, 70, 160));
    } else if (clave == "posicion") {
        letra(p, QStringLiteral("#"), QColor(60, 120, 160));
    } else {
        letra(p, QStringLiteral("?"), QColor(128, 128, 128));
    }
    return pm;
}
