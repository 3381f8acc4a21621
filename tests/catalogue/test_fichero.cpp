// The catalogue file at its edges: writes of other programs and a broken
// index found by the next search and mended, read commands that only read,
// a file left in write-ahead mode where nothing can be written, two first
// starts at once. All of it is about the file, so none runs on the server.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <sys/stat.h>
#include <thread>

#include "catalogue/catalogo_relleno.h"
#include "catalogue/navegador.h"
#include "search/busqueda.h"
#include "support/motorprueba.h"

using namespace Qt::StringLiterals;

namespace {

// Another program's connection to the file, through the engine alone.
class OtroPrograma {
public:
    explicit OtroPrograma(const QString& ruta) : nombre_(u"otro_"_s + QString::number(++n_))
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(u"QSQLITE"_s, nombre_);
        d.setDatabaseName(ruta);
        d.open();
    }
    ~OtroPrograma()
    {
        QSqlDatabase::database(nombre_).close();
        QSqlDatabase::removeDatabase(nombre_);
    }
    void Ejecuta(const QStringList& sentencias)
    {
        QSqlQuery q(QSqlDatabase::database(nombre_));
        for (const QString& s : sentencias)
            QVERIFY2(q.exec(s), qPrintable(s + u": "_s + q.lastError().text()));
    }

private:
    QString nombre_;
    static inline int n_ = 0;
};

qint64 pendientes(Catalogo& bd) { return bd.PrimerEntero(u"select count(*) from tlbusca_pendiente"_s, {}); }

QStringList sobrantes(const QString& carpeta)
{
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression(u"-(wal|shm|journal)$|\\.nuevo"_s));
}

}  // namespace

class TestFichero : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (PruebaEnServidor())
            QSKIP("the file's own engine, its triggers and its journal: nothing of them is on the server");
    }

    void escriturasDeFuera_data();
    void escriturasDeFuera();
    void walSoloParaLeer_data();
    void walSoloParaLeer();
    void dosPrimerosArranques();
    void danadoEnCastellano();
    void ficheroEnteroEntreConfirmaciones();
};

void TestFichero::escriturasDeFuera_data()
{
    QTest::addColumn<QStringList>("fuera");      // what the other program runs; %1 is Ola's id, %2 its author's
    QTest::addColumn<QString>("texto");          // searched for
    QTest::addColumn<QStringList>("encontradas");
    QTest::newRow("autor puesto con replace")
        << QStringList{u"insert or replace into tlautor (idautor, dsautor, dsautor_std, intautor) values (%2, 'Zoé', 'ZOE', 0)"_s}
        << u"zoe ola"_s << QStringList{u"Ola"_s};
    QTest::newRow("canción puesta con replace")
        << QStringList{u"insert or replace into tlcancion (idcancion, dscancion, cdcd, cddisco, cdautor, wncancion, dspath,"
                       " swvarios, wntime) select idcancion, 'Xilófono', cdcd, cddisco, cdautor, 1, dspath, 0, 0 from tlcancion"
                       " where idcancion = %1"_s}
        << u"xilofono ana"_s << QStringList{u"Xilófono"_s};
    QTest::newRow("canción antes que su autor")
        << QStringList{u"insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
                       " values ('Yunque', 0, 0, 900, 1, 'y.mp3', 0, 0)"_s,
                       u"insert into tlautor (idautor, dsautor, dsautor_std, intautor) values (900, 'Wendy', 'WENDY', 0)"_s}
        << u"wendy yunque"_s << QStringList{u"Yunque"_s};
    QTest::newRow("autor borrado") << QStringList{u"delete from tlautor where idautor = %2"_s} << u"ana"_s
                                   << QStringList{};
    QTest::newRow("entrada del índice borrada") << QStringList{u"delete from tlbusca where idcancion = %1"_s}
                                                << u"ola mar"_s << QStringList{u"Ola"_s};
    QTest::newRow("tablas del índice quitadas")
        << QStringList{u"drop table tlbusca_fts"_s, u"drop table tlbusca"_s, u"drop table tlbusca_pendiente"_s}
        << u"ola"_s << QStringList{u"Ola"_s};
    QTest::newRow("canción escrita sin disparadores")
        << QStringList{u"drop trigger tlbusca_cancion_ai"_s,
                       u"insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
                       " values ('Valle', 0, 0, %2, 1, 'v.mp3', 0, 0)"_s}
        << u"valle ana"_s << QStringList{u"Valle"_s};
}

// What another program wrote is found by the next search, through a
// connection that only reads even while a third holds the write lock; the
// next opening, or the window's next search, puts it in the index.
void TestFichero::escriturasDeFuera()
{
    QFETCH(QStringList, fuera);
    QFETCH(QString, texto);
    QFETCH(QStringList, encontradas);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(u"anterior.mdb"_s);
    Catalogo bd(ruta, u"escribe"_s);
    bd.AbreBaseDatos();
    const CancionPrueba ola = GrabaCancionPrueba(bd, u"Uno"_s, u"Ana"_s, u"Mar"_s, u"Ola"_s, 1);
    GrabaCancionPrueba(bd, u"Uno"_s, u"Bruno"_s, u"Río"_s, u"Brisa"_s, 2);
    QVERIFY(bd.motor().IndiceAlDia(bd));
    {
        OtroPrograma otro(ruta);
        QStringList sql;
        for (const QString& s : fuera)
            sql << QString(s).replace(u"%1"_s, QString::number(ola.idcancion)).replace(u"%2"_s, QString::number(ola.idautor));
        otro.Ejecuta(sql);
    }
    const bool indiceEntero = !fuera.first().startsWith(u"drop"_s);
    {
        // A read command: nothing written, the same rows, while another
        // program holds the right to write.
        OtroPrograma cerrojo(ruta);
        cerrojo.Ejecuta({u"begin immediate"_s});
        const QByteArray antes = [&] { QFile f(ruta); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        Catalogo lee(ruta, u"lee"_s);
        lee.AbreParaLeer();
        QCOMPARE(Titulos(BuscaCanciones(lee, texto)), encontradas);
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == antes);
        // The window's search does not wait for the write lock: it reads
        // around the songs still waiting.
        bd.PonEsperaMaxima(10000);
        QElapsedTimer reloj;
        reloj.start();
        bd.motor().MiraCambiosFuera(bd);
        QCOMPARE(Titulos(BuscaCanciones(bd, texto)), encontradas);
        QVERIFY(reloj.elapsed() < 2000);
        cerrojo.Ejecuta({u"rollback"_s});
    }
    // The window's next search, or else the next opening, mends the index.
    if (indiceEntero) {
        bd.motor().MiraCambiosFuera(bd);
    } else {
        bd.Cierra();
        bd.AbreBaseDatos();
    }
    QVERIFY(!bd.SoloLectura());
    QCOMPARE(pendientes(bd), qint64(0));
    QVERIFY(bd.motor().IndiceAlDia(bd));
    QCOMPARE(Titulos(BuscaCanciones(bd, texto)), encontradas);
    QCOMPARE(bd.PrimerEntero(u"select count(*) from tlbusca"_s, {}), bd.PrimerEntero(u"select count(*) from tlcancion"_s, {}));
    bd.Ejecuta(u"insert into tlbusca_fts (tlbusca_fts) values ('integrity-check')"_s);
}

void TestFichero::walSoloParaLeer_data()
{
    QTest::addColumn<bool>("conFilas");   // another program's rows still in the -wal, copied with it
    QTest::addColumn<bool>("escribible"); // the folder can be written (a read command)
    QTest::newRow("carpeta de solo lectura") << false << false;
    QTest::newRow("filas en el -wal, medio de solo lectura") << true << false;
    QTest::newRow("filas en el -wal, carpeta escribible") << true << true;
    QTest::newRow("orden que solo lee") << false << true;
}

// A catalogue left in write-ahead mode, opened only to be read: browsed and
// searched with every committed row, and the folder left as it was found,
// whoever runs the program.
void TestFichero::walSoloParaLeer()
{
    QFETCH(bool, conFilas);
    QFETCH(bool, escribible);
    QTemporaryDir dir;
    const QString origen = dir.filePath(u"origen.mdb"_s);
    qint64 autor = 0;
    {
        Catalogo bd(origen, u"wal"_s);
        bd.AbreBaseDatos();
        autor = GrabaCancionPrueba(bd, u"Uno"_s, u"Ana"_s, u"Mar"_s, u"Ola"_s, 1).idautor;
    }
    const QString cd = dir.filePath(u"cd"_s);
    QDir().mkpath(cd);
    const QString ruta = QDir(cd).filePath(u"anterior.mdb"_s);
    QStringList esperadas{u"Ola"_s};
    {
        OtroPrograma otro(origen);
        otro.Ejecuta({u"PRAGMA journal_mode=WAL"_s});
        if (conFilas) {
            otro.Ejecuta({u"insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
                          " select 'Ostra', cdcd, cddisco, cdautor, 2, 'o.mp3', 0, 0 from tlcancion"_s});
            esperadas << u"Ostra"_s;
            QVERIFY(QFile::copy(origen + u"-wal"_s, ruta + u"-wal"_s));
        }
        QVERIFY(QFile::copy(origen, ruta));
    }
    const QStringList antes = QDir(cd).entryList(QDir::Files | QDir::Hidden);
    if (!escribible)
        QFile::setPermissions(cd, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    {
        std::unique_ptr<Catalogo> bd;
        if (!escribible) {
            bd = std::make_unique<Catalogo>(ruta, u"wal"_s);
            bd->AbreBaseDatos();
            QVERIFY(bd->SoloLectura());
            QCOMPARE(ListaBD(*bd, u"BDau#"_s + QString::number(autor)).filas.size(), size_t(esperadas.size()));
            QCOMPARE(Titulos(BuscaCanciones(*bd, u"o"_s)), esperadas);
        }
        Catalogo lee(ruta, u"walbusca"_s);
        lee.AbreParaLeer();
        QCOMPARE(Titulos(BuscaCanciones(lee, u"ana"_s)), esperadas);
    }
    QCOMPARE(QDir(cd).entryList(QDir::Files | QDir::Hidden), antes);
    QFile::setPermissions(cd, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Two programs making the catalogue at the same moment: neither fails, one
// whole catalogue is left and nothing beside it.
void TestFichero::dosPrimerosArranques()
{
    for (int vez = 0; vez < 10; ++vez) {
        QTemporaryDir dir;
        const QString ruta = dir.filePath(u"anterior.mdb"_s);
        std::atomic<int> listos{0};
        QString fallos[2];
        auto arranca = [&](int i) {
            ++listos;
            while (listos < 2) {
            }
            try {
                Catalogo bd(ruta, u"arranque%1"_s.arg(i));
                bd.AbreBaseDatos();
                if (bd.SoloLectura() || bd.PrimerEntero(u"select count(*) from tlmascara"_s, {}) != MascarasTipicas().size())
                    fallos[i] = u"catálogo a medias"_s;
            } catch (const LodrinError& e) {
                fallos[i] = e.message();
            }
        };
        std::thread a(arranca, 0), b(arranca, 1);
        a.join();
        b.join();
        QCOMPARE(fallos[0], QString());
        QCOMPARE(fallos[1], QString());
        QCOMPARE(sobrantes(dir.path()), QStringList{});
    }
}

// The engine's failure is said in Spanish, naming the file, before the
// engine's own text.
void TestFichero::danadoEnCastellano()
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(u"anterior.mdb"_s);
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(8192, '\x5a'));
    f.close();
    Catalogo bd(ruta, u"danado"_s);
    try {
        bd.AbreBaseDatos();
        QFAIL("opened");
    } catch (const CatalogoNoAbierto& e) {
        QVERIFY2(e.message().startsWith(u"No se puede abrir el catálogo "_s + ruta + u": está dañado ("_s), qPrintable(e.message()));
    }
    // A named pipe in its place is refused at once, not waited on.
    const QString tuberia = dir.filePath(u"tuberia/anterior.mdb"_s);
    QDir().mkpath(dir.filePath(u"tuberia"_s));
    QCOMPARE(::mkfifo(QFile::encodeName(tuberia).constData(), 0600), 0);
    Catalogo lee(tuberia, u"tuberia"_s);
    try {
        lee.AbreParaLeer();
        QFAIL("opened");
    } catch (const CatalogoNoAbierto& e) {
        QVERIFY2(e.message().startsWith(u"No se puede abrir el fichero "_s + tuberia), qPrintable(e.message()));
    }
}

// A large operation keeps its changes in memory until it commits: the file
// copied alone half-way is the catalogue as it was.
void TestFichero::ficheroEnteroEntreConfirmaciones()
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(u"anterior.mdb"_s);
    Catalogo bd(ruta, u"grande"_s);
    bd.AbreBaseDatos();
    GrabaCancionPrueba(bd, u"Uno"_s, u"Ana"_s, u"Mar"_s, u"Ola"_s, 1);
    bd.Ejecuta(u"PRAGMA cache_size = 10"_s);  // a few pages, as a CD of 20,000 songs fills the usual cache
    const QString copia = dir.filePath(u"copia.mdb"_s);
    Operacion(bd, u"grabar el CD"_s, [&](Transaccion&) {
        for (int i = 0; i < 3000; ++i)
            bd.Ejecuta(u"insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
                       " values (?, 1, 1, 1, 1, ?, 0, 0)"_s,
                       {u"Canción número %1 con un título largo"_s.arg(i), u"ruta/%1.mp3"_s.arg(i)});
        QVERIFY(QFile::copy(ruta, copia));
    });
    Catalogo solo(copia, u"copiasola"_s);
    solo.AbreParaLeer();
    QCOMPARE(solo.Abre(u"PRAGMA integrity_check"_s).Texto(u"integrity_check"_s), u"ok"_s);
    QCOMPARE(solo.PrimerEntero(u"select count(*) from tlcancion"_s, {}), qint64(1));
}

QTEST_GUILESS_MAIN(TestFichero)
#include "test_fichero.moc"
