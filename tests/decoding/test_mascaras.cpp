// The mask language: compiling, storing, loading order and the walk of the list.
#include <QTemporaryDir>
#include <QtTest>

#include "decoding/mascaras.h"
#include "store/catalogo.h"

class TestMascaras : public QObject {
    Q_OBJECT
private slots:
    void compila_data();
    void compila();
    void anadeGuardaLongitud();
    void ordenDeCarga();
    void siguienteSaltaLaUltimaElegida();
    void tablaVaciaNoTieneMascaras();
    void masDe99Mascaras();
    void mascaraConComilla();
};

void TestMascaras::compila_data()
{
    QTest::addColumn<QString>("mascara");
    QTest::addColumn<QString>("patron");
    QTest::addColumn<QList<int>>("campos");  // autor, disco, cancion, posicion
    QTest::newRow("a\\d\\c") << "a\\d\\c" << "*\\*\\*" << QList<int>{3, 2, 1, 0};
    QTest::newRow("a repetida") << "a(d)\\a-c" << "*(*)\\*-*" << QList<int>{4, 3, 1, 0};
    QTest::newRow("x") << "x-d\\p-c" << "*-*\\*-*" << QList<int>{0, 3, 1, 2};
    QTest::newRow("cinco componentes") << "a(x) -d\\p-c" << "*(*) -*\\*-*" << QList<int>{5, 3, 1, 2};
    QTest::newRow("mayusculas literales") << "A\\c" << "A\\*" << QList<int>{0, 0, 1, 0};
    QTest::newRow("seis componentes") << "x-a-d-x-p-c" << "*-*-*-*-*-*" << QList<int>{5, 4, 1, 2};
    QTest::newRow("sin letras") << "--" << "--" << QList<int>{0, 0, 0, 0};
}

void TestMascaras::compila()
{
    QFETCH(QString, mascara);
    QFETCH(QString, patron);
    QFETCH(QList<int>, campos);
    QString p;
    TablaComponentes t;
    CompilaMascara(mascara, p, t);
    QCOMPARE(p, patron);
    QCOMPARE((QList<int>{t.autor, t.disco, t.cancion, t.posicion}), campos);
}

void TestMascaras::anadeGuardaLongitud()
{
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "anade");
    bd.AbreBaseDatos();
    bd.Ejecuta("delete from tlmascara");
    AnadeMascara(bd, "a\\d-c");
    AnadeMascara(bd, "a(x) -d\\p-c");
    AnadeMascara(bd, "a\\d-c");  // stored twice, listed twice
    Consulta r = bd.Abre("select dsmascara, wnmascara from tlmascara order by rowid");
    QCOMPARE(r.Texto("dsmascara"), QString("a\\d-c"));
    QCOMPARE(r.Entero("wnmascara"), 5);
    r.Siguiente();
    QCOMPARE(r.Entero("wnmascara"), 11);
    QCOMPARE(ListaMascarasGuardadas(bd), (QStringList{"a(x) -d\\p-c", "a\\d-c", "a\\d-c"}));
}

void TestMascaras::ordenDeCarga()
{
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "orden");
    bd.AbreBaseDatos();  // a new catalogue holds the nineteen typical masks
    ListaMascaras l;
    QCOMPARE(l.CargaMascaras(bd), 20);
    const QStringList esperado = {"a(x) -d\\p-c", "a(d)\\a-c", "a(d)\\p-c", "a\\d\\x-c", "a-d\\a-c", "x-d\\p-c",
                                  "a\\d\\p-c",   "a(d)\\c",   "d-a\\c",    "d\\p-c",   "d\\a-c",  "a\\d-c",
                                  "a\\d\\c",     "a(d)c",     "c-a",       "d\\c",     "c_a",     "a\\c",
                                  "c"};
    QStringList cargado;
    for (int s = 2; s <= 20; ++s)
        cargado << l.Mascara(s);
    QCOMPARE(cargado, esperado);
    QCOMPARE(l.Mascara(1), QString());
}

void TestMascaras::siguienteSaltaLaUltimaElegida()
{
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "siguiente");
    bd.AbreBaseDatos();
    ListaMascaras l;
    const int ultimo = l.CargaMascaras(bd);
    l.PonUltimaElegida("a\\d\\c");
    QStringList recorrido;
    int slot = 0;
    QString patron;
    TablaComponentes t;
    for (l.SiguienteMascara(patron, t, slot); slot != 0; l.SiguienteMascara(patron, t, slot))
        recorrido << l.Mascara(slot);
    QCOMPARE(recorrido.size(), ultimo - 1);  // the chosen one first, and not again
    QCOMPARE(recorrido.first(), QString("a\\d\\c"));
    QCOMPARE(recorrido.count("a\\d\\c"), 1);

    // Reloading forgets the chosen mask: slot 1 is empty and matches nothing.
    l.CargaMascaras(bd);
    slot = 0;
    l.SiguienteMascara(patron, t, slot);
    QCOMPARE(slot, 1);
    QCOMPARE(patron, QString());
    l.SiguienteMascara(patron, t, slot);
    QCOMPARE(slot, 2);
    QCOMPARE(patron, QString("*(*) -*\\*-*"));
}

void TestMascaras::tablaVaciaNoTieneMascaras()
{
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "vacia");
    bd.AbreBaseDatos();
    bd.Ejecuta("delete from tlmascara");
    ListaMascaras l;
    QCOMPARE(l.CargaMascaras(bd), 1);
    int slot = 0;
    QString patron;
    TablaComponentes t;
    l.SiguienteMascara(patron, t, slot);  // the empty last-chosen slot
    QCOMPARE(patron, QString());
    l.SiguienteMascara(patron, t, slot);
    QCOMPARE(slot, 0);
}

void TestMascaras::masDe99Mascaras()
{
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "muchas");
    bd.AbreBaseDatos();
    for (int i = 0; i < 150; ++i)
        AnadeMascara(bd, QString("a\\d\\%1-c").arg(i));
    ListaMascaras l;
    QCOMPARE(l.CargaMascaras(bd), 170);
    int slot = 0, vistas = 0;
    QString patron;
    TablaComponentes t;
    for (l.SiguienteMascara(patron, t, slot); slot != 0; l.SiguienteMascara(patron, t, slot))
        ++vistas;
    QCOMPARE(vistas, 170);  // the empty last-chosen slot and the 169 stored
}

void TestMascaras::mascaraConComilla()
{
    QTemporaryDir dir;
    Catalogo bd(dir.filePath("anterior.mdb"), "comilla");
    bd.AbreBaseDatos();
    AnadeMascara(bd, "a'd\\c");
    QVERIFY(ListaMascarasGuardadas(bd).contains("a'd\\c"));
    QString patron;
    TablaComponentes t;
    CompilaMascara("a'd\\c", patron, t);
    QCOMPARE(patron, QString("*'*\\*"));
}

QTEST_GUILESS_MAIN(TestMascaras)
#include "test_mascaras.moc"
