// Pictures attached to discs: rows in tlobjetos and copies in the images folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/catalogo.h"
#include "catalogue/cdanalizado.h"
#include "catalogue/objetos.h"
#include "common/lodrinerror.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

class TestObjetos : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void grabaYEncuentra();
    void mismaImagenEnDosDiscos();
    void copiaPerdidaSeRepone();
    void origenIlegible();
    void siguienteObjeto();
    void copiaExistente();

private:
    qint64 graba(qint64 disco, const QString& ruta)
    {
        return GrabaObjeto(*bd, dirPrograma, QStringLiteral("d"), disco, ruta, rutas.value(ruta), true);
    }
    QString imagen(const QString& ruta)
    {
        rutas[ruta] = CreaImagen(dir->filePath(QStringLiteral("cd/") + QString(ruta).replace('\\', '/')));
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
    dirPrograma = dir->filePath(QStringLiteral("prog"));
    QDir().mkpath(dirPrograma);
    bd = new Catalogo(Catalogo::RutaCatalogo(dirPrograma), QStringLiteral("objetos%1").arg(++conexiones));
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
    imagen(QStringLiteral("Dover\\Portada.JPG"));
    imagen(QStringLiteral("Dover\\l'interior.gif"));
    QCOMPARE(GrabaObjeto(*bd, dirPrograma, QStringLiteral("d"), 4, QString(), QString(), false), qint64(0));
    QVERIFY(!QFileInfo::exists(CarpetaImagenes(dirPrograma)));

    const qint64 a = graba(4, QStringLiteral("Dover\\Portada.JPG"));
    const qint64 b = graba(4, QStringLiteral("Dover\\l'interior.gif"));
    QVERIFY(a > 0 && b > a);
    QCOMPARE(Ficheros(CarpetaImagenes(dirPrograma)),
             QStringList({QStringLiteral("%1.jpg").arg(a), QStringLiteral("%1.gif").arg(b)}));
    QCOMPARE(CuentaFilas(*bd, QStringLiteral("tlobjetos"), QStringLiteral("dspath = 'Dover\\l''interior.gif' and "
                                                                         "dstabla = 'd' and idtabla = 4")),
             qint64(1));

    // Found again by owner and path, without a second row or copy.
    EscribeFichero(CopiaExistente(dirPrograma, a), "marca");
    QCOMPARE(graba(4, QStringLiteral("Dover\\Portada.JPG")), a);
    QCOMPARE(graba(4, QStringLiteral("Dover\\l'interior.gif")), b);
    QCOMPARE(CuentaFilas(*bd, QStringLiteral("tlobjetos")), qint64(2));
    QCOMPARE(LeeFichero(CopiaExistente(dirPrograma, a)), QByteArray("marca"));

    // Without crear: any picture of the owner, or none.
    const qint64 cualquiera = GrabaObjeto(*bd, dirPrograma, QStringLiteral("d"), 4, QString(), QString(), false);
    QVERIFY(cualquiera == a || cualquiera == b);
    QCOMPARE(GrabaObjeto(*bd, dirPrograma, QStringLiteral("d"), 5, QString(), QString(), false), qint64(0));
    QCOMPARE(CuentaFilas(*bd, QStringLiteral("tlobjetos")), qint64(2));
}

void TestObjetos::mismaImagenEnDosDiscos()
{
    const QString origen = imagen(QStringLiteral("Mix\\cover.jpg"));
    const qint64 a = graba(1, QStringLiteral("Mix\\cover.jpg"));
    const qint64 b = graba(2, QStringLiteral("Mix\\cover.jpg"));
    QVERIFY(a != b);
    QCOMPARE(LeeFichero(CopiaExistente(dirPrograma, a)), LeeFichero(origen));
    QCOMPARE(LeeFichero(CopiaExistente(dirPrograma, b)), LeeFichero(origen));
}

void TestObjetos::copiaPerdidaSeRepone()
{
    const QString origen = imagen(QStringLiteral("A\\cover.jpg"));
    const qint64 a = graba(1, QStringLiteral("A\\cover.jpg"));
    QVERIFY(QFile::remove(CopiaExistente(dirPrograma, a)));
    QCOMPARE(graba(1, QStringLiteral("A\\cover.jpg")), a);
    QCOMPARE(LeeFichero(CopiaExistente(dirPrograma, a)), LeeFichero(origen));
    QCOMPARE(CuentaFilas(*bd, QStringLiteral("tlobjetos")), qint64(1));
}

void TestObjetos::origenIlegible()
{
    // The file vanished from the CD: the error names it, the row stays and
    // no file (not even half of one) stands under the copy's name.
    try {
        GrabaObjeto(*bd, dirPrograma, QStringLiteral("d"), 1, QStringLiteral("A\\ido.jpg"),
                    dir->filePath(QStringLiteral("cd/A/ido.jpg")), true);
        QFAIL("the copy should have failed");
    } catch (const LodrinError& e) {
        QVERIFY2(e.message().contains(QStringLiteral("ido.jpg")), qPrintable(e.message()));
    }
    QCOMPARE(CuentaFilas(*bd, QStringLiteral("tlobjetos")), qint64(1));
    QCOMPARE(Ficheros(CarpetaImagenes(dirPrograma)), QStringList());

    // Asked again with a source that cannot be read either, it fails again.
    QVERIFY_THROWS_EXCEPTION(LodrinError,
                             GrabaObjeto(*bd, dirPrograma, QStringLiteral("d"), 1, QStringLiteral("A\\ido.jpg"),
                                         dir->filePath(QStringLiteral("cd/A/ido.jpg")), true));
    QCOMPARE(CuentaFilas(*bd, QStringLiteral("tlobjetos")), qint64(1));
}

void TestObjetos::siguienteObjeto()
{
    for (const char* r : {"uno.jpg", "dos.jpg", "tres.jpg"})
        imagen(QString::fromLatin1(r));
    QCOMPARE(DameSiguienteObjeto(*bd, QStringLiteral("d"), 1, 0), qint64(0));

    const qint64 sola = graba(1, QStringLiteral("uno.jpg"));
    const qint64 cinco = graba(2, QStringLiteral("dos.jpg"));
    graba(3, QStringLiteral("uno.jpg"));
    const qint64 nueve = graba(2, QStringLiteral("tres.jpg"));
    QVERIFY(cinco < nueve);

    // One picture: nothing else to show.
    QCOMPARE(DameSiguienteObjeto(*bd, QStringLiteral("d"), 1, sola), qint64(0));
    // Two pictures go round in order of id.
    QCOMPARE(DameSiguienteObjeto(*bd, QStringLiteral("d"), 2, cinco), nueve);
    QCOMPARE(DameSiguienteObjeto(*bd, QStringLiteral("d"), 2, nueve), cinco);
    QCOMPARE(DameSiguienteObjeto(*bd, QStringLiteral("d"), 2, nueve + 100), cinco);
    // An owner that is not a disc with pictures.
    QCOMPARE(DameSiguienteObjeto(*bd, QStringLiteral("d"), 0, cinco), qint64(0));
}

void TestObjetos::copiaExistente()
{
    const QString carpeta = CarpetaImagenes(dirPrograma);
    QCOMPARE(CopiaExistente(dirPrograma, 7), QString());
    EscribeFichero(QDir(carpeta).filePath(QStringLiteral("7.jpg.tmp")), "a medias");
    EscribeFichero(QDir(carpeta).filePath(QStringLiteral("77.jpg")), "otra");
    QCOMPARE(CopiaExistente(dirPrograma, 7), QString());
    // A copy in the case of its source's extension is found as well.
    EscribeFichero(QDir(carpeta).filePath(QStringLiteral("7.JPG")), "vieja");
    QCOMPARE(CopiaExistente(dirPrograma, 7), QDir(carpeta).filePath(QStringLiteral("7.JPG")));
    EscribeFichero(QDir(carpeta).filePath(QStringLiteral("8.Gif")), "vieja");
    QCOMPARE(CopiaExistente(dirPrograma, 8), QDir(carpeta).filePath(QStringLiteral("8.Gif")));
    QCOMPARE(NombreCopia(12, QStringLiteral("A\\FRONT.JPG")), QStringLiteral("12.jpg"));
    QCOMPARE(NombreCopia(3, QStringLiteral("b.Gif")), QStringLiteral("3.gif"));
}

QTEST_GUILESS_MAIN(TestObjetos)
#include "test_objetos.moc"
