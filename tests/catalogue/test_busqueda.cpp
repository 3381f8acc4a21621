// Finding songs anywhere in the catalogue: the matching rules through the
// index and without it, the rows as the browser gives them, the index kept
// by edits, deletes and other programs' writes, and the search thread.
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/catalogo_relleno.h"
#include "catalogue/copia.h"
#include "catalogue/edicion.h"
#include "search/buscador.h"
#include "search/busqueda.h"
#include "support/motorprueba.h"

using namespace Qt::StringLiterals;

class TestBusqueda : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void reglas_data();
    void reglas();
    void filasComoLasDelNavegador();
    void alDiaTrasEditarBorrarYOtrosProgramas();
    void enSuHilo();

private:
    QTemporaryDir dir_;
    std::unique_ptr<Catalogo> bd_;       // the index, kept by the store
    std::unique_ptr<Catalogo> sinIndice_;  // a copy whose index cannot be read through
    CancionPrueba rio_;
};

void TestBusqueda::initTestCase()
{
    bd_ = std::make_unique<Catalogo>(CatalogoDePrueba(dir_.path()), u"busca"_s);
    bd_->AbreBaseDatos();
    rio_ = GrabaCancionPrueba(*bd_, u"Verano 2003"_s, u"Bea Ruiz"_s, u"Orillas"_s, u"Canción del Río"_s, 3);
    GrabaCancionPrueba(*bd_, u"Verano 2003"_s, u"Los Ñandúes"_s, u"Pampa"_s, u"Ñandú"_s, 1);
    GrabaCancionPrueba(*bd_, u"Rarezas"_s, u"O'Brien"_s, u"100% Puro"_s, u"a_b \"dicho\""_s, 2);
    GrabaCancionPrueba(*bd_, u"Rarezas"_s, u"Otro"_s, u"100x Puro"_s, u"aXb dicho"_s, 4, true);

    if (PruebaEnServidor()) {
        // A server whose trigram index could not be made reads every text.
        const UbicacionCatalogo u = BaseDePrueba(dir_.filePath(u"sinindice.ini"_s));
        CopiaCatalogo(*bd_, dir_.path(), u);
        sinIndice_ = std::make_unique<Catalogo>(u, u"sinindice"_s);
        sinIndice_->AbreBaseDatos();
        QVERIFY(QSqlQuery(sinIndice_->db()).exec(u"drop index ixbusca_trigramas"_s));
        return;
    }
    const QString copia = dir_.filePath(u"copia.mdb"_s);
    QVERIFY(QFile::copy(bd_->ruta(), copia));
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"quita2"_s);
        d.setDatabaseName(copia);
        QVERIFY(d.open());
        QSqlQuery q(d);
        for (const char* t : {"tlbusca_fts", "tlbusca", "tlbusca_pendiente"})
            QVERIFY2(q.exec(u"drop table "_s + QLatin1String(t)), t);
    }
    QSqlDatabase::removeDatabase(u"quita2"_s);
    QFile::setPermissions(copia, QFileDevice::ReadOwner);
    sinIndice_ = std::make_unique<Catalogo>(copia, u"sinindice"_s);
    sinIndice_->AbreBaseDatos();
    QVERIFY(sinIndice_->SoloLectura());
}

void TestBusqueda::reglas_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("encontradas");  // sorted by author
    const QString rio = u"Canción del Río"_s, nandu = u"Ñandú"_s, comodines = u"a_b \"dicho\""_s;
    QTest::newRow("dos palabras en otro orden") << u"rio cancion"_s << QStringList{rio};
    QTest::newRow("mayúsculas y acentos") << u"RÍO"_s << QStringList{rio};
    QTest::newRow("autor y disco") << u"orillas BEA"_s << QStringList{rio};
    QTest::newRow("eñe sin tilde") << u"nandu"_s << QStringList{nandu};
    QTest::newRow("descripción del CD") << u"verano 2003"_s << QStringList{rio, nandu};
    QTest::newRow("por cualquier parte") << u"andue"_s << QStringList{nandu};
    QTest::newRow("tanto por ciento tal cual") << u"100%"_s << QStringList{comodines};
    QTest::newRow("subrayado tal cual") << u"a_b"_s << QStringList{comodines};
    QTest::newRow("comillas") << u"\"dicho\""_s << QStringList{comodines};
    QTest::newRow("apóstrofo") << u"o'bri"_s << QStringList{comodines};
    QTest::newRow("palabras cortas") << u"ri o"_s << QStringList{rio, comodines};
    QTest::newRow("corta con larga") << u"ri cancion"_s << QStringList{rio};
    QTest::newRow("una que no está") << u"rio zzz"_s << QStringList{};
    QTest::newRow("corta que no está") << u"rio q"_s << QStringList{};
    QTest::newRow("no entre dos campos") << u"ruizorillas"_s << QStringList{};
    QTest::newRow("nada escrito") << u"   "_s << QStringList{};
    QTest::newRow("control y NUL parten palabras") << u"rio\tcancion"_s + QChar(0) + u"del\x01" "bea"_s << QStringList{rio};
    QTest::newRow("palabra repetida") << u"rio rio RÍO"_s << QStringList{rio};
}

void TestBusqueda::reglas()
{
    QFETCH(QString, texto);
    QFETCH(QStringList, encontradas);
    for (Catalogo* bd : {bd_.get(), sinIndice_.get()}) {
        const ResultadoBusqueda r = BuscaCanciones(*bd, texto);
        QCOMPARE(Titulos(r), encontradas);
        QCOMPARE(r.total, qint64(encontradas.size()));
    }
}

void TestBusqueda::filasComoLasDelNavegador()
{
    for (Catalogo* bd : {bd_.get(), sinIndice_.get()}) {
        const ResultadoBusqueda r = BuscaCanciones(*bd, u"rio"_s);
        QCOMPARE(int(r.filas.size()), 1);
        const FilaBD navegada = ListaBD(*bd, u"BDau#"_s + QString::number(rio_.idautor)).filas.at(0);
        const FilaBD& f = r.filas[0].fila;
        QCOMPARE(QStringList({f.clave, f.posicion, f.attrib, f.autor, f.disco, f.cancion, f.cd}),
                 QStringList({navegada.clave, navegada.posicion, navegada.attrib, navegada.autor, navegada.disco,
                              navegada.cancion, navegada.cd}));
        QCOMPARE(r.filas[0].iddisco, rio_.iddisco);
        QCOMPARE(LineaBusqueda(r.filas[0]), u"Bea Ruiz\tOrillas\tCanción del Río\t3\t03:00\tVerano 2003\n"_s);

        // Past the limit, the first recorded, in the order of the column
        // asked for, and the count of all.
        const ResultadoBusqueda porCd = BuscaCanciones(*bd, u"o"_s, columnaBD::kCd, 3);
        QCOMPARE(Titulos(porCd), QStringList({u"a_b \"dicho\""_s, u"Canción del Río"_s, u"Ñandú"_s}));
        QCOMPARE(TextoCuenta(qint64(porCd.filas.size()), porCd.total), u"3 de 4 canciones"_s);
    }
    QCOMPARE(TextoCuenta(1000, 23456), u"1.000 de 23.456 canciones"_s);
    QCOMPARE(TextoCuenta(1, 1), u"1 canción"_s);
}

void TestBusqueda::alDiaTrasEditarBorrarYOtrosProgramas()
{
    QTemporaryDir dir;
    const UbicacionCatalogo ruta = CatalogoDePrueba(dir.path());
    {
        Catalogo bd(ruta, u"edita"_s);
        bd.AbreBaseDatos();
        const CancionPrueba a = GrabaCancionPrueba(bd, u"Uno"_s, u"Ana"_s, u"Mar"_s, u"Ola"_s, 1);
        const CancionPrueba b = GrabaCancionPrueba(bd, u"Uno"_s, u"Ana"_s, u"Mar"_s, u"Brisa"_s, 2);
        FilaBD fila = BuscaCanciones(bd, u"ola"_s).filas.at(0).fila;
        fila.cancion = u"Marea Alta"_s;
        fila.autor = u"Íñigo"_s;
        ActualizaCancion(bd, fila);
        QCOMPARE(Titulos(BuscaCanciones(bd, u"inigo alta"_s)), QStringList{u"Marea Alta"_s});
        QCOMPARE(BuscaCanciones(bd, u"ola"_s).total, qint64(0));
        BorraCancion(bd, BuscaCanciones(bd, u"brisa"_s).filas.at(0).fila);
        QCOMPARE(BuscaCanciones(bd, u"brisa"_s).total, qint64(0));
        QCOMPARE(BuscaCanciones(bd, u"ana"_s).total, qint64(0));

        // A song written by a program that keeps no index is found at once,
        // and is in the index after the next opening.
        bd.Ejecuta(u"insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
                   " values ('Viento', ?, ?, ?, 3, 'v.mp3', ?, 0)"_s,
                   {a.idcd, b.iddisco, b.idautor, false});
        QCOMPARE(Titulos(BuscaCanciones(bd, u"viento mar"_s)), QStringList{u"Viento"_s});
    }
    Catalogo bd(ruta, u"reabre"_s);
    bd.AbreBaseDatos();
    QCOMPARE(bd.PrimerEntero(u"select count(*) from tlbusca_pendiente"_s, {}), qint64(0));
    QCOMPARE(Titulos(BuscaCanciones(bd, u"viento"_s)), QStringList{u"Viento"_s});
    if (!PruebaEnServidor())
        bd.Ejecuta(u"insert into tlbusca_fts (tlbusca_fts) values ('integrity-check')"_s);
}

void TestBusqueda::enSuHilo()
{
    BuscadorCatalogo buscador(bd_->ubicacion());
    QSignalSpy encontrado(&buscador, &BuscadorCatalogo::Encontrado);
    // Only the last of requests made in a row is answered.
    buscador.Busca(u"verano"_s);
    buscador.Busca(u"nandu"_s);
    QVERIFY(encontrado.wait(10000));
    QTest::qWait(100);
    QCOMPARE(encontrado.size(), 1);
    const auto r = encontrado.at(0).at(0).value<ResultadoBusqueda>();
    QCOMPARE(r.texto, u"nandu"_s);
    QCOMPARE(Titulos(r), QStringList{u"Ñandú"_s});
}

QTEST_GUILESS_MAIN(TestBusqueda)
#include "test_busqueda.moc"
