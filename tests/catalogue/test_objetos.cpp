// Pictures attached to discs: rows in tlobjetos and copies in the images folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/cdanalizado.h"
#include "catalogue/objetos.h"
#include "common/lodrinerror.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

using namespace Qt::StringLiterals;

class TestObjetos : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void grabaYEncuentra();
    void siguienteObjeto();
    void copiaExistente();
    void copiasDeGrabacionesMatadas();

private:
    qint64 graba(qint64 disco, const QString& ruta)
    {
        return GrabaObjeto(*bd, dirPrograma, u"d"_s, disco, ruta, rutas.value(ruta), true);
    }
    QString imagen(const QString& ruta)
    {
        rutas[ruta] = CreaImagen(dir->filePath(u"cd/"_s + QString(ruta).replace('\\', '/')));
        return rutas[ruta];
    }

    QTemporaryDir* dir = nullptr;
    Catalogo* bd = nullptr;
    QString dirPrograma;
    QMap<QString, QString> rutas;
};

void TestObjetos::init()
{
    static int conexiones = 0;
    dir = new QTemporaryDir;
    dirPrograma = dir->filePath(u"prog"_s);
    QDir().mkpath(dirPrograma);
    bd = new Catalogo(CatalogoDePrueba(dirPrograma), u"objetos%1"_s.arg(++conexiones));
    bd->AbreBaseDatos();
    rutas.clear();
}

void TestObjetos::cleanup()
{
    delete bd;
    delete dir;
}

void TestObjetos::grabaYEncuentra()
{
    imagen(u"Dover\\Portada.JPG"_s);
    imagen(u"Dover\\l'interior.gif"_s);
    QCOMPARE(GrabaObjeto(*bd, dirPrograma, u"d"_s, 4, QString(), QString(), false), qint64(0));
    QVERIFY(!QFileInfo::exists(CarpetaImagenes(dirPrograma)));

    const qint64 a = graba(4, u"Dover\\Portada.JPG"_s);
    const qint64 b = graba(4, u"Dover\\l'interior.gif"_s);
    QVERIFY(a > 0 && b > a);
    QCOMPARE(Ficheros(CarpetaImagenes(dirPrograma)), QStringList({u"%1.jpg"_s.arg(a), u"%1.gif"_s.arg(b)}));
    QCOMPARE(CuentaFilas(*bd, u"tlobjetos"_s,
                         QStringLiteral("dspath = 'Dover\\l''interior.gif' and "
                                        "dstabla = 'd' and idtabla = 4")),
             qint64(1));

    // Found again by owner and path, without a second row or copy.
    EscribeFichero(CopiaExistente(dirPrograma, a), "marca");
    QCOMPARE(graba(4, u"Dover\\Portada.JPG"_s), a);
    QCOMPARE(graba(4, u"Dover\\l'interior.gif"_s), b);
    QCOMPARE(CuentaFilas(*bd, u"tlobjetos"_s), qint64(2));
    QCOMPARE(LeeFichero(CopiaExistente(dirPrograma, a)), QByteArray("marca"));

    // Without crear: the owner's first picture recorded, or none.
    QCOMPARE(GrabaObjeto(*bd, dirPrograma, u"d"_s, 4, QString(), QString(), false), a);
    QCOMPARE(GrabaObjeto(*bd, dirPrograma, u"d"_s, 5, QString(), QString(), false), qint64(0));
    QCOMPARE(CuentaFilas(*bd, u"tlobjetos"_s), qint64(2));
}

void TestObjetos::siguienteObjeto()
{
    for (const char* r : {"uno.jpg", "dos.jpg", "tres.jpg"}) imagen(QString::fromLatin1(r));
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 1, 0), qint64(0));

    const qint64 sola = graba(1, u"uno.jpg"_s);
    const qint64 cinco = graba(2, u"dos.jpg"_s);
    graba(3, u"uno.jpg"_s);
    const qint64 nueve = graba(2, u"tres.jpg"_s);
    QVERIFY(cinco < nueve);

    // One picture: nothing else to show.
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 1, sola), qint64(0));
    // Two pictures go round in order of id.
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 2, cinco), nueve);
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 2, nueve), cinco);
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 2, nueve + 100), cinco);
    // An owner that is not a disc with pictures.
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 0, cinco), qint64(0));
}

void TestObjetos::copiaExistente()
{
    const QString carpeta = CarpetaImagenes(dirPrograma);
    QCOMPARE(CopiaExistente(dirPrograma, 7), QString());
    EscribeFichero(QDir(carpeta).filePath(u"7.jpg.tmp"_s), "a medias");
    EscribeFichero(QDir(carpeta).filePath(u"77.jpg"_s), "otra");
    QCOMPARE(CopiaExistente(dirPrograma, 7), QString());
    // A copy in the case of its source's extension is found as well.
    EscribeFichero(QDir(carpeta).filePath(u"7.JPG"_s), "vieja");
    QCOMPARE(CopiaExistente(dirPrograma, 7), QDir(carpeta).filePath(u"7.JPG"_s));
    EscribeFichero(QDir(carpeta).filePath(u"8.Gif"_s), "vieja");
    QCOMPARE(CopiaExistente(dirPrograma, 8), QDir(carpeta).filePath(u"8.Gif"_s));
    QCOMPARE(NombreCopia(12, u"A\\FRONT.JPG"_s), u"12.jpg"_s);
    QCOMPARE(NombreCopia(3, u"b.Gif"_s), u"3.gif"_s);
}

// A recording killed half-way leaves copies no row names, or a copy it
// committed but had not yet named; the next writing opening puts both
// right. A new copy of an id replaces any other extension's.
void TestObjetos::copiasDeGrabacionesMatadas()
{
    const QString carpeta = CarpetaImagenes(dirPrograma);
    imagen(u"a.jpg"_s);
    imagen(u"b.gif"_s);
    const qint64 a = graba(1, u"a.jpg"_s);
    EscribeFichero(QDir(carpeta).filePath(u"%1.JPG"_s.arg(a + 1)), "de un CD matado");
    const qint64 b = graba(2, u"b.gif"_s);
    QCOMPARE(b, a + 1);
    QCOMPARE(Ficheros(carpeta), QStringList({u"%1.jpg"_s.arg(a), u"%1.gif"_s.arg(b)}));

    const QString muerto = u"2147483646"_s;  // no process has it
    const QString vivo = QString::number(QCoreApplication::applicationPid());
    for (const QString& f : {u"99.jpg"_s, u"98.gif.%1.nuevo"_s.arg(muerto), u"%1.gif.%2.nuevo"_s.arg(a).arg(muerto),
                             u"97.jpg.%1.nuevo"_s.arg(vivo), u"5.jpg.tmp"_s})
        EscribeFichero(QDir(carpeta).filePath(f), "x");
    OrdenaCopias(*bd, dirPrograma);
    QCOMPARE(Ficheros(carpeta), QStringList({u"%1.gif"_s.arg(a), u"%1.gif"_s.arg(b), u"97.jpg.%1.nuevo"_s.arg(vivo)}));
}

QTEST_GUILESS_MAIN(TestObjetos)
#include "test_objetos.moc"
