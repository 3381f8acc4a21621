// Standardised names and the find-or-insert of authors, discs, CDs and songs.
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/nombres.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"

class TestNombres : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void estandariza_data();
    void estandariza();
    void autoresIgualesPorFormaEstandar();
    void nombreSoloDeSignosEsUnAutor();
    void apostrofeSeGuardaUnaVezYSeEncuentra();
    void discoSoloBajoSuAutor();
    void discoVacio();
    void cdPorDescripcion();
    void cancionConYSinCrear();
    void listaDeAutoresElegidos();
    void autorElegidoSoloEnFormaEstandar();

private:
    QTemporaryDir* dir_ = nullptr;
    Catalogo* bd_ = nullptr;
};

void TestNombres::init()
{
    dir_ = new QTemporaryDir;
    bd_ = new Catalogo(CatalogoDePrueba(dir_->path()), "nombres");
    bd_->AbreBaseDatos();
}

void TestNombres::cleanup()
{
    delete bd_;
    delete dir_;
}

void TestNombres::estandariza_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("estandar");
    QTest::addColumn<QString>("citado");
    QTest::newRow("apostrofe y blancos") << "  Guns N' Roses" << "GUNSNROSES" << "Guns N'' Roses";
    QTest::newRow("Ë no se pliega") << "ñu-ël" << "ÑUËL" << "ñu-ël";
    QTest::newRow("vocales acentuadas") << "Ráfaga óÖ ûÜ í èÊ" << "RAFAGAOOUUIEE" << "Ráfaga óÖ ûÜ í èÊ";
    QTest::newRow("todo el conjunto") << "-.@#$!%&/'()=?¡¿*+][^`¨´},._<> x" << "X"
                                      << "-.@#$!%&/''()=?¡¿*+][^`¨´},._<> x";
    QTest::newRow("blancos al final se quedan") << "Dover  " << "DOVER" << "Dover  ";
    QTest::newRow("vacio") << "" << "" << "";
}

void TestNombres::estandariza()
{
    QFETCH(QString, nombre);
    QFETCH(QString, estandar);
    QFETCH(QString, citado);
    QCOMPARE(Estandariza(nombre), estandar);
    QCOMPARE(nombre, citado);
}

void TestNombres::autoresIgualesPorFormaEstandar()
{
    QString a = "Dover", b = "DOVER!", c = "Dóver", d = "Dower";
    const qint64 id = DameAutor(*bd_, a, true);
    QCOMPARE(DameAutor(*bd_, b, true), id);
    QCOMPARE(DameAutor(*bd_, c, false), id);
    QVERIFY(DameAutor(*bd_, d, true) != id);
    Consulta r = bd_->Abre("select dsautor, dsautor_std, intautor from tlautor order by idautor");
    QCOMPARE(r.RecordCount(), 2);
    QCOMPARE(r.Texto("dsautor"), QString("Dover"));
    QCOMPARE(r.Texto("dsautor_std"), QString("DOVER"));
    QCOMPARE(r.Entero("intautor"), 0);
}

void TestNombres::nombreSoloDeSignosEsUnAutor()
{
    QString a = "¿?", b = "!!", c = "¿?";
    const qint64 id = DameAutor(*bd_, a, true);
    QVERIFY(id > 0);
    QCOMPARE(DameAutor(*bd_, b, true), id);
    QCOMPARE(DameAutor(*bd_, c, false), id);
    Consulta r = bd_->Abre("select dsautor from tlautor");
    QCOMPARE(r.RecordCount(), 1);
    QCOMPARE(r.Texto("dsautor"), QString("¿?"));
}

void TestNombres::apostrofeSeGuardaUnaVezYSeEncuentra()
{
    QString a = "Guns N' Roses";
    const qint64 id = DameAutor(*bd_, a, true);
    QCOMPARE(a, QString("Guns N'' Roses"));
    QString otra = "Guns N' Roses";
    QCOMPARE(DameAutor(*bd_, otra, false), id);
    Consulta r = bd_->Abre("select dsautor from tlautor");
    QCOMPARE(r.Texto("dsautor"), QString("Guns N' Roses"));
}

void TestNombres::discoSoloBajoSuAutor()
{
    QString ana = "Ana", luis = "Luis";
    const qint64 idAna = DameAutor(*bd_, ana, true);
    const qint64 idLuis = DameAutor(*bd_, luis, true);
    QString d1 = "Hits", d2 = "HITS", d3 = "Hits";
    const qint64 hitsAna = DameDisco(*bd_, d1, idAna, true);
    QCOMPARE(DameDisco(*bd_, d2, idAna, false), hitsAna);
    QCOMPARE(DameDisco(*bd_, d3, idLuis, false), 0);
    QString d4 = "Hits";
    QVERIFY(DameDisco(*bd_, d4, idLuis, true) != hitsAna);
    QCOMPARE(bd_->Abre("select * from tldisco").RecordCount(), 2);
}

void TestNombres::discoVacio()
{
    QString vacio = "<vacio>";
    QCOMPARE(DameDisco(*bd_, vacio, 1, false), -1);
    QCOMPARE(bd_->Abre("select * from tldisco").RecordCount(), 0);
    const qint64 id = DameDisco(*bd_, vacio, 1, true);
    QVERIFY(id > 0);
    QCOMPARE(bd_->Abre("select dsdisco from tldisco").Texto("dsdisco"), QString("<vacio>"));
}

void TestNombres::cdPorDescripcion()
{
    const qint64 id = DameCd(*bd_, "Mi CD 'uno'", "-1234", true);
    QCOMPARE(DameCd(*bd_, "MI CD 'UNO'", "999", true), id);  // the description alone, any case
    QCOMPARE(DameCd(*bd_, "Otro", "", false), 0);
    Consulta r = bd_->Abre("select dscd, sercd, lotienecd, dtcd from tlcd");
    QCOMPARE(r.RecordCount(), 1);
    QCOMPARE(r.Texto("sercd"), QString("-1234"));
    QCOMPARE(r.Texto("lotienecd"), QString(" "));
    QCOMPARE(r.Texto("dtcd"), QDate::currentDate().toString(Qt::ISODate));
}

void TestNombres::cancionConYSinCrear()
{
    const qint64 cd1 = DameCd(*bd_, "CD1", "1", true);
    const qint64 cd2 = DameCd(*bd_, "CD2", "2", true);
    QString t = "Judas", r = "Dover\\Devil\\Judas.mp3";
    const qint64 id = DameCancion(*bd_, t, 3, 4, cd1, 7, r, true, true, 245);
    Consulta c = bd_->Abre("select * from tlcancion");
    QCOMPARE(c.Entero("wncancion"), 7);
    QCOMPARE(c.Entero("wntime"), 245);
    QVERIFY(c.SiNo("swvarios"));
    QCOMPARE(c.Texto("dspath"), QString("Dover\\Devil\\Judas.mp3"));

    // Without creating, the song is found from any CD and nothing is written.
    QString t2 = "judas", r2;
    QCOMPARE(DameCancion(*bd_, t2, 3, 4, 0, 0, r2, false, false, 0), id);
    QString t3 = "Otra", r3;
    QCOMPARE(DameCancion(*bd_, t3, 3, 4, 0, 0, r3, false, false, 0), 0);
    // Found again with crear, it takes no id; recording on another CD adds
    // the song again, with the next id; a blank title never.
    QString t1 = "JUDAS", r1 = "z.mp3";
    QCOMPARE(DameCancion(*bd_, t1, 3, 4, cd1, 7, r1, true, true, 245), id);
    QString t4 = "Judas", r4 = "x.mp3";
    QCOMPARE(DameCancion(*bd_, t4, 3, 4, cd2, 1, r4, false, true, 1), id + 1);
    QString blanco = "   ", r5 = "y.mp3";
    QCOMPARE(DameCancion(*bd_, blanco, 3, 4, cd2, 1, r5, false, true, 1), 0);
    QCOMPARE(bd_->Abre("select * from tlcancion").RecordCount(), 2);
}

void TestNombres::listaDeAutoresElegidos()
{
    AutoresNuevos& l = bd_->autoresNuevos();
    l.AnadeAutorNuevo("<vacio>");
    QCOMPARE(l.Cuantos(), 0);
    for (int i = 1; i <= 100; ++i)
        l.AnadeAutorNuevo(QString("A%1").arg(i));
    l.AnadeAutorNuevo("EXTRA");
    QCOMPARE(l.Cuantos(), 100);
    QCOMPARE(l.BuscaAutorNuevo("EXTRA"), -1);
    QCOMPARE(l.BuscaAutorNuevo("A37"), 37);
    QCOMPARE(l.BuscaAutorNuevo(""), 0);
    l.LimpiaAutoresNuevos();
    QCOMPARE(l.BuscaAutorNuevo("A37"), -1);
}

void TestNombres::autorElegidoSoloEnFormaEstandar()
{
    bd_->autoresNuevos().AnadeAutorNuevo("Dover");
    bd_->autoresNuevos().AnadeAutorNuevo("DOVER");
    QString a = "Dover";
    QCOMPARE(DameAutor(*bd_, a, false), 2);  // found through "DOVER", its standard form
    QString b = "Nadie";
    QCOMPARE(DameAutor(*bd_, b, false), -1);
    QString c = "¿?";
    QCOMPARE(DameAutor(*bd_, c, false), 0);
    QCOMPARE(bd_->Abre("select * from tlautor").RecordCount(), 0);
}

QTEST_GUILESS_MAIN(TestNombres)
#include "test_nombres.moc"
