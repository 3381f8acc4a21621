// The catalogue: creation, reopening, refusing files that are not a
// catalogue, and the statements' handling of awkward values, on the engine
// the run names.
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/catalogo_relleno.h"
#include "catalogue/edicion.h"
#include "catalogue/navegador.h"
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
    void cadaMotorTieneCadaPaso();
    void catalogosAnteriores_data();
    void catalogosAnteriores();
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

void TestCatalogo::cadaMotorTieneCadaPaso()
{
    std::vector<int> todos;
    for (int n = 1; n <= kPasosEsquema; ++n)
        todos.push_back(n);
    UbicacionCatalogo servidor;
    servidor.motor = Motor::PostgreSQL;
    QCOMPARE(MotorCatalogo::Para(UbicacionCatalogo::Fichero("x.mdb"))->Pasos(), todos);
    QCOMPARE(MotorCatalogo::Para(servidor)->Pasos(), todos);
}

void TestCatalogo::catalogosAnteriores_data()
{
    QTest::addColumn<int>("hasta");  // the last step the earlier version took
    // Pairs that fold alike only fully can stand only in a catalogue from
    // before step 4; every row climbs the later steps too.
    for (int paso = PruebaEnServidor() ? 1 : 0; paso < 4; ++paso)
        QTest::addRow("paso %d", paso) << paso;
}

// A catalogue an earlier version left, holding names that fold alike only
// with full folding, climbs to the last step with every row kept, found
// and editable, and recording its CD again adds nothing.
void TestCatalogo::catalogosAnteriores()
{
    QFETCH(int, hasta);
    QTemporaryDir dir;
    const UbicacionCatalogo u = CatalogoDePrueba(dir.path());
    const QStringList cds = {"Bahía Groß", "BAHÍA GROSS"};
    const QList<QStringList> titulos = {{"Straße del Sol", "ﬁn"}, {"STRASSE DEL SOL", "FIN"}};
    {
        Catalogo bd(u, "anterior");
        bd.AbreBaseDatos(hasta);
        // Keys as that version folded them: one letter to one.
        const auto con = [&](QStringList columnas, QVariantList valores, const QString& clave, const QString& texto) {
            if (hasta >= 1) {
                columnas << clave;
                valores << texto.toCaseFolded();
            }
            return std::pair{columnas, valores};
        };
        const auto inserta = [&](const char* tabla, const char* id, const std::pair<QStringList, QVariantList>& f) {
            return bd.Inserta(tabla, id, f.first, f.second);
        };
        Operacion(bd, "grabar", [&](Transaccion&) {
            QString a = "Coro Añil", d = "Álbum del Ñandú";
            const qint64 autor =
                bd.Inserta("tlautor", "idautor", {"dsautor", "dsautor_std", "intautor"}, {a, Estandariza(a), 0});
            const qint64 disco =
                bd.Inserta("tldisco", "iddisco", {"dsdisco", "dsdisco_std", "cdautord"}, {d, Estandariza(d), autor});
            for (int k = 0; k < 2; ++k) {
                const qint64 cd = inserta("tlcd", "idcd",
                                          con({"dscd", "sercd", "lotienecd", "dtcd"}, {cds[k], "1234-ABCD", " ", "2020-01-01"},
                                              "dscd_clave", cds[k]));
                for (int p = 0; p < 2; ++p)
                    inserta("tlcancion", "idcancion",
                            con({"dscancion", "cdcd", "cddisco", "cdautor", "wncancion", "dspath", "swvarios", "wntime"},
                                {titulos[k][p], cd, disco, autor, p + 1, titulos[k][p] + ".mp3", false, 60},
                                "dscancion_clave", titulos[k][p]));
                inserta("tlobjetos", "idobjeto",
                        con({"dstabla", "idtabla", "dspath"}, {"d", disco, cds[k] + ".jpg"}, "dspath_clave", cds[k] + ".jpg"));
            }
        });
        if (hasta >= 2)
            bd.Ejecuta("update tlbusca set dsbusca = replace(dsbusca, 'ss', 'ß')");
    }
    Catalogo bd(u, "aldia");
    bd.AbreBaseDatos();
    QVERIFY(!bd.SoloLectura());
    QCOMPARE(bd.PrimerEntero(PruebaEnServidor() ? "select version from tlversion" : "PRAGMA user_version", {}),
             qint64(kPasosEsquema));
    for (const auto& [select, n] :
         {std::pair{"select count(*) from tlcd", 1}, {"select count(*) from tlcancion", 4},
          {"select count(distinct dscancion_clave) from tlcancion", 4}, {"select count(*) from tlobjetos", 2},
          {"select count(distinct dspath_clave) from tlobjetos", 2}})
        QCOMPARE(bd.PrimerEntero(select, {}), qint64(n));
    const QStringList calle = {"STRASSE DEL SOL", "Straße del Sol"};
    for (const auto& [texto, encontradas] : {std::pair{"straße", calle}, {"STRASSE", calle},
                                             {"bahia gross fin", QStringList{"FIN", "ﬁn"}}}) {
        QStringList t = Titulos(BuscaCanciones(bd, texto));
        t.sort();
        QCOMPARE(t, encontradas);
    }
    // Each song takes an edit of its position; its title stays.
    const QString autor = "BDau#" + QString::number(bd.PrimerEntero("select idautor from tlautor", {}));
    for (FilaBD fila : ListaBD(bd, autor).filas) {
        fila.posicion = QString::number(fila.posicion.toInt() + 10);
        QCOMPARE(ActualizaCancion(bd, fila), fila.posicion);
    }
    // Recording the CD again finds every song.
    for (const QStringList& cd : titulos)
        for (const QString& t : cd)
            GrabaCancionPrueba(bd, cds[1], "Coro Añil", "Álbum del Ñandú", t, 1);
    QCOMPARE(bd.PrimerEntero("select count(*) from tlcancion", {}), qint64(4));
    QCOMPARE(bd.PrimerEntero("select count(distinct dscancion_clave) from tlcancion", {}), qint64(4));
    QCOMPARE(bd.PrimerEntero("select count(*) from tlcd", {}), qint64(1));
}

QTEST_GUILESS_MAIN(TestCatalogo)
#include "test_catalogo.moc"
