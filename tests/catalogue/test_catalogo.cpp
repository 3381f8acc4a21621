// The catalogue: creation, reopening, refusing files that are not a
// catalogue, and the statements' handling of awkward values, on the engine
// the run names.
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/nombres.h"
#include "common/lodrinerror.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"
#include "support/testsupport.h"

class TestCatalogo : public QObject {
    Q_OBJECT
private slots:
    void rutaJuntoAlPrograma();
    void catalogoNuevoTieneTablasYMascaras();
    void reabrirNoCambiaNada();
    void ficheroAjenoSeRechazaIntacto_data();
    void ficheroAjenoSeRechazaIntacto();
    void baseDeDatosAjenaSeRechazaIntacta();
    void textosConComillasNoRompenSentencias();
    void idsMayoresDe32767();
};

void TestCatalogo::rutaJuntoAlPrograma()
{
    QCOMPARE(Catalogo::RutaCatalogo("/opt/lodrin"), QString("/opt/lodrin/anterior.mdb"));
    QCOMPARE(Catalogo::RutaCatalogo("/"), QString("/anterior.mdb"));
    QCOMPARE(Catalogo::RutaCatalogo("D:\\"), QString("D:\\anterior.mdb"));
}

void TestCatalogo::catalogoNuevoTieneTablasYMascaras()
{
    QTemporaryDir dir;
    Catalogo bd(CatalogoDePrueba(dir.path()), "nuevo");
    bd.AbreBaseDatos();
    for (const char* tabla : {"tlautor", "tldisco", "tlcd", "tlcancion", "tlmascara", "tlobjetos"}) {
        Consulta r = bd.Abre(QString("select count(*) as n from %1").arg(tabla));
        QVERIFY2(!r.Fin(), tabla);
    }
    Consulta m = bd.Abre("select dsmascara, wnmascara from tlmascara order by wnmascara desc");
    QCOMPARE(m.RecordCount(), 19);
    QCOMPARE(m.Texto("dsmascara"), QString("a(x) -d\\p-c"));
    QCOMPARE(m.Entero("wnmascara"), 11);
}

void TestCatalogo::reabrirNoCambiaNada()
{
    QTemporaryDir dir;
    const UbicacionCatalogo ruta = CatalogoDePrueba(dir.path());
    {
        Catalogo bd(ruta, "primera");
        bd.AbreBaseDatos();
        QString nombre = "Dover";
        DameAutor(bd, nombre, true);
    }
    Catalogo bd(ruta, "segunda");
    bd.AbreBaseDatos();
    QCOMPARE(bd.Abre("select * from tlmascara").RecordCount(), 19);
    Consulta a = bd.Abre("select dsautor from tlautor");
    QCOMPARE(a.RecordCount(), 1);
    QCOMPARE(a.Texto("dsautor"), QString("Dover"));
}

void TestCatalogo::ficheroAjenoSeRechazaIntacto_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::newRow("texto") << QByteArray("Standard Jet DB\0 esto no es un catalogo", 40);
    QTest::newRow("vacio") << QByteArray();
    QByteArray corrupto("SQLite format 3\0", 16);
    corrupto.append(QByteArray(4096, '\x5a'));
    QTest::newRow("cabecera buena, resto roto") << corrupto;
}

void TestCatalogo::ficheroAjenoSeRechazaIntacto()
{
    if (PruebaEnServidor())
        QSKIP("a file's bytes; the server's foreign databases are refused in test_servidor");
    QFETCH(QByteArray, contenido);
    QTemporaryDir dir;
    const QString ruta = EscribeFichero(dir.filePath("anterior.mdb"), contenido);
    Catalogo bd(ruta, "ajeno");
    bool rechazado = false;
    try {
        bd.AbreBaseDatos();
    } catch (const LodrinError& e) {
        rechazado = true;
        QVERIFY(!e.message().isEmpty());
    }
    QVERIFY(rechazado);
    QCOMPARE(LeeFichero(ruta), contenido);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"anterior.mdb"});
}

void TestCatalogo::baseDeDatosAjenaSeRechazaIntacta()
{
    if (PruebaEnServidor())
        QSKIP("a file's bytes; the server's foreign databases are refused in test_servidor");
    QTemporaryDir dir;
    const QString ruta = dir.filePath("anterior.mdb");
    {
        QSqlDatabase d = QSqlDatabase::addDatabase("QSQLITE", "otra");
        d.setDatabaseName(ruta);
        QVERIFY(d.open());
        QSqlQuery(d).exec("create table tlautor (idautor integer primary key, nombre text)");
        d.close();
    }
    QSqlDatabase::removeDatabase("otra");
    const QByteArray antes = LeeFichero(ruta);
    Catalogo bd(ruta, "ajena");
    try {
        bd.AbreBaseDatos();
        QFAIL("a database without the catalogue's tables was accepted");
    } catch (const LodrinError& e) {
        QVERIFY2(e.message().contains("dsautor"), qPrintable(e.message()));
    }
    QCOMPARE(LeeFichero(ruta), antes);
}

void TestCatalogo::textosConComillasNoRompenSentencias()
{
    QTemporaryDir dir;
    Catalogo bd(CatalogoDePrueba(dir.path()), "comillas");
    bd.AbreBaseDatos();
    const QStringList raros = {"Guns N' Roses", "''", "'; drop table tlautor; --", "O''Brien \\ \"x\"",
                               "<b>&amp;</b>", "   ' leading", "%", "_", "a%b_c",
                               "«Ñandú» 100% a_b — Ελληνικά 日本語 Кириллица العربية 🎵"};
    for (const QString& raro : raros) {
        QString autor = raro;
        const qint64 id = DameAutor(bd, autor, true);
        QVERIFY(id > 0);
        QString titulo = raro;
        QString ruta = raro + ".mp3";
        QString disco = raro;
        const qint64 idDisco = DameDisco(bd, disco, id, true);
        const qint64 idCd = DameCd(bd, raro, raro, true);
        const qint64 idCancion = DameCancion(bd, titulo, id, idDisco, idCd, 1, ruta, false, true, 10);
        QVERIFY(idCancion > 0);
        QString otra = raro;
        QString otraRuta = raro;
        QCOMPARE(DameCancion(bd, otra, id, idDisco, idCd, 1, otraRuta, false, true, 10), idCancion);
    }
    QCOMPARE(bd.Abre("select * from tlcd").RecordCount(), raros.size());
    Consulta c = bd.Abre("select dscancion, dspath from tlcancion order by idcancion");
    for (const QString& raro : raros) {
        const QString sinBlancos = QString(raro).remove(QRegularExpression("^ +"));
        QCOMPARE(c.Texto("dscancion"), sinBlancos);
        QCOMPARE(c.Texto("dspath"), sinBlancos + ".mp3");
        c.Siguiente();
    }
}

void TestCatalogo::idsMayoresDe32767()
{
    if (PruebaEnServidor())
        QSKIP("the server numbers from its own sequence, not after the largest id written by hand");
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "grandes");
    bd.AbreBaseDatos();
    bd.Ejecuta("insert into tlautor (idautor, dsautor, dsautor_std, intautor) values (70000, 'X', 'X', 0)");
    QString nombre = "Nuevo";
    QCOMPARE(DameAutor(bd, nombre, true), 70001);
    QString disco = "Disco";
    const qint64 idDisco = DameDisco(bd, disco, 70001, true);
    QString otro = "disco";
    QCOMPARE(DameDisco(bd, otro, 70001, false), idDisco);
}

QTEST_GUILESS_MAIN(TestCatalogo)
#include "test_catalogo.moc"
