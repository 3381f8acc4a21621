#include "catalogoprueba.h"

#include <QDir>
#include <QStringDecoder>
#include <QTest>

#include "catalogue/nombres.h"
#include "catalogue/objetos.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

namespace {

qint64 autor(Catalogo& bd, QString nombre) { return DameAutor(bd, nombre, true); }
qint64 disco(Catalogo& bd, QString nombre, qint64 idautor) { return DameDisco(bd, nombre, idautor, true); }

void cancion(Catalogo& bd, QString titulo, qint64 idautor, qint64 iddisco, qint64 idcd, qint64 posicion,
             qint64 segundos, bool varios = false)
{
    QString ruta = titulo + QStringLiteral(".mp3");
    DameCancion(bd, titulo, idautor, iddisco, idcd, posicion, ruta, varios, true, segundos);
}

}  // namespace

CatalogoPrueba LlenaCatalogo(Catalogo& bd, const QString& dirPrograma, const QString& origen)
{
    CatalogoPrueba c;
    c.cd1 = DameCd(bd, QStringLiteral("CD1"), QStringLiteral("1234-5678"), true);
    c.cd2 = DameCd(bd, QStringLiteral("Música & más"), QStringLiteral("8765-4321"), true);

    c.ana = autor(bd, QStringLiteral("Ana"));
    c.bruno = autor(bd, QStringLiteral("Bruno"));
    c.carla = autor(bd, QStringLiteral("Carla"));
    c.simon = autor(bd, QStringLiteral("Simon & Garfunkel"));
    c.vacio = autor(bd, QStringLiteral("<vacio>"));
    c.varios = autor(bd, QStringLiteral("<Varios Artistas>"));

    c.primero = disco(bd, QStringLiteral("Primero"), c.ana);
    c.zeta = disco(bd, QStringLiteral("Zeta"), c.bruno);
    c.alfa = disco(bd, QStringLiteral("Alfa"), c.bruno);
    c.sinCanciones = disco(bd, QStringLiteral("Vacío"), c.carla);
    c.live = disco(bd, QStringLiteral("<Live>"), c.simon);
    c.vacioDisco = disco(bd, QStringLiteral("<vacio>"), c.vacio);
    c.recopilacion = disco(bd, QStringLiteral("Recopilación"), c.varios);

    cancion(bd, QStringLiteral("Dos"), c.ana, c.primero, c.cd1, 2, 754);
    cancion(bd, QStringLiteral("Uno"), c.ana, c.primero, c.cd1, 1, 245);
    cancion(bd, QStringLiteral("Tres"), c.ana, c.primero, c.cd1, 0, 0);
    cancion(bd, QStringLiteral("Zumbido"), c.bruno, c.zeta, c.cd1, 1, 45);
    cancion(bd, QStringLiteral("Aurora"), c.bruno, c.alfa, c.cd2, 1, 6000);
    cancion(bd, QStringLiteral("Mrs. <Robinson> & Don't"), c.simon, c.live, c.cd1, 7, 60);
    cancion(bd, QStringLiteral("Algo"), c.vacio, c.vacioDisco, c.cd1, 1, 100);
    cancion(bd, QStringLiteral("Otra"), c.bruno, c.recopilacion, c.cd1, 4, 61, true);
    cancion(bd, QStringLiteral("Intro"), c.ana, c.recopilacion, c.cd1, 3, 95, true);

    const QString jpg = CreaImagen(QDir(origen).filePath(QStringLiteral("Ana/Primero/portada.jpg")));
    const QString gif = CreaImagen(QDir(origen).filePath(QStringLiteral("Simon/Live/Cover.GIF")));
    c.portadaPrimero = GrabaObjeto(bd, dirPrograma, QStringLiteral("d"), c.primero,
                                   QStringLiteral("Ana\\Primero\\portada.jpg"), jpg, true);
    c.portadaLive = GrabaObjeto(bd, dirPrograma, QStringLiteral("d"), c.live,
                                QStringLiteral("Simon\\Live\\Cover.GIF"), gif, true);
    return c;
}

QStringList LineasDe(const QString& ruta)
{
    const QByteArray bytes = LeeFichero(ruta);
    // Plain UTF-8, no byte-order mark in front of the page.
    if (!bytes.startsWith("<html>\r\n"))
        QTest::qFail("the page does not start with <html>", __FILE__, __LINE__);
    auto decodificador = QStringDecoder(QStringDecoder::Utf8);
    const QString texto = decodificador(bytes);
    if (decodificador.hasError())
        QTest::qFail("the page is not valid UTF-8", __FILE__, __LINE__);
    if (!texto.endsWith(QStringLiteral("\r\n")))
        QTest::qFail("the page does not end in CR LF", __FILE__, __LINE__);
    QStringList lineas = texto.split(QStringLiteral("\r\n"));
    lineas.removeLast();
    for (const QString& l : lineas)
        if (l.contains(QLatin1Char('\n')) || l.contains(QLatin1Char('\r')))
            QTest::qFail("a line break without CR LF", __FILE__, __LINE__);
    return lineas;
}
