// The catalogue file as a whole: one durable file, all-or-nothing recording
// when the program is killed, older and read-only catalogues, case folding.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cstdio>
#include <memory>

#include "catalogue/comparacion.h"
#include "catalogue/edicion.h"
#include "catalogue/grabacion.h"
#include "catalogue/listadobd.h"
#include "catalogue/mascarasbd.h"
#include "catalogue/navegador.h"
#include "catalogue/nombres.h"
#include "catalogue/objetos.h"
#include "search/busqueda.h"
#include "store/catalogo.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "worklist/listatrabajo.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kCanciones = 200;

// A CD of kCanciones analysed rows, each on a file without audio.
ListaTrabajo ListaCd(const QString& disco)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    for (int k = 1; k <= kCanciones; ++k) {
        const int i = l.Anade(u"%1\\%2.mp3"_s.arg(disco).arg(k), FicheroSinAudio(), u"f"_s, u"mp3"_s);
        for (const auto& [c, v] : {std::pair{columna::kAutor, u"Ana"_s}, {columna::kDisco, disco},
                                   {columna::kCancion, u"Canción %1"_s.arg(k)}, {columna::kPosicion, QString::number(k)},
                                   {columna::kMascara, u"a\\d\\c"_s}})
            l.PonSubItem(i, c, v);
    }
    return l;
}

DatosGrabacion Datos(const QString& descripcion, const QString& dirPrograma)
{
    DatosGrabacion d;
    d.descripcion = descripcion;
    d.dirPrograma = dirPrograma;
    return d;
}

// Stops for good half-way through a recording, for the parent to kill.
class AvanceQueSeDetiene : public Avance {
public:
    void Empieza(int) override {}
    void Avanza(int valor) override
    {
        if (valor == kCanciones / 2) {
            std::puts("mitad");
            std::fflush(stdout);
            QThread::sleep(60);
        }
    }
    void Termina() override {}
};

// The child: records CD "Uno" whole, then stops in the middle of "Dos".
int Hijo(const QString& dirPrograma)
{
    Catalogo bd(Catalogo::RutaCatalogo(dirPrograma));
    bd.AbreBaseDatos();
    GrabaCD(bd, ListaCd(u"Uno"_s), Datos(u"Uno"_s, dirPrograma));
    AvanceQueSeDetiene avance;
    GrabaCD(bd, ListaCd(u"Dos"_s), Datos(u"Dos"_s, dirPrograma), &avance);
    return 0;
}

// What the plain command-line tool of the engine says about a file.
QString Sqlite3(const QString& fichero, const QString& sql)
{
    QProcess p;
    p.start(u"sqlite3"_s, {u"-readonly"_s, fichero, sql});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

// A catalogue as the previous version left it: no key columns, the
// write-ahead journal, a CD, a song and a picture.
void CatalogoAntiguo(const QString& ruta)
{
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"antiguo"_s);
        d.setDatabaseName(ruta);
        QVERIFY(d.open());
        QSqlQuery q(d);
        for (const char* s :
             {"PRAGMA journal_mode=WAL",
              "CREATE TABLE tlautor (idautor INTEGER PRIMARY KEY AUTOINCREMENT, dsautor TEXT COLLATE NOCASE,"
              " dsautor_std TEXT COLLATE NOCASE, intautor INTEGER)",
              "CREATE TABLE tldisco (iddisco INTEGER PRIMARY KEY AUTOINCREMENT, dsdisco TEXT COLLATE NOCASE,"
              " dsdisco_std TEXT COLLATE NOCASE, cdautord INTEGER)",
              "CREATE TABLE tlcd (idcd INTEGER PRIMARY KEY AUTOINCREMENT, dscd TEXT COLLATE NOCASE,"
              " sercd TEXT COLLATE NOCASE, lotienecd TEXT COLLATE NOCASE, dtcd DATE)",
              "CREATE TABLE tlcancion (idcancion INTEGER PRIMARY KEY AUTOINCREMENT, dscancion TEXT COLLATE NOCASE,"
              " cdcd INTEGER, cddisco INTEGER, cdautor INTEGER, wncancion INTEGER, dspath TEXT COLLATE NOCASE,"
              " swvarios BOOLEAN, wntime INTEGER)",
              "CREATE TABLE tlmascara (dsmascara TEXT, wnmascara INTEGER)",
              "CREATE TABLE tlobjetos (idobjeto INTEGER PRIMARY KEY AUTOINCREMENT, dstabla TEXT COLLATE NOCASE,"
              " idtabla INTEGER, dspath TEXT COLLATE NOCASE)",
              "CREATE INDEX ixcancion_ds ON tlcancion (dscancion, cddisco, cdautor, cdcd)",
              "CREATE INDEX ixobjetos ON tlobjetos (dstabla, idtabla, dspath)",
              "insert into tlautor (dsautor, dsautor_std, intautor) values ('Ana', 'ANA', 0)",
              "insert into tldisco (dsdisco, dsdisco_std, cdautord) values ('Uno', 'UNO', 1)",
              "insert into tlcd (dscd, sercd, lotienecd, dtcd) values ('MÁS', 'X', ' ', DATE())",
              "insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
              " values ('Árbol', 1, 1, 1, 1, 'A\\Árbol.mp3', 0, 60)",
              "insert into tlobjetos (dstabla, idtabla, dspath) values ('d', 1, 'A\\PORTADA.jpg')"})
            QVERIFY2(q.exec(QString::fromUtf8(s)), s);
    }
    QSqlDatabase::removeDatabase(u"antiguo"_s);
}

}  // namespace

class TestAlmacen : public QObject {
    Q_OBJECT
private slots:
    void muertoAMitadDeGrabar();
    void catalogoAntiguoSePoneAlDia();
    void soloLectura_data();
    void soloLectura();
    void mayusculasDeCualquierLetra_data();
    void mayusculasDeCualquierLetra();
    void bloqueadoPorOtroPrograma();
};

void TestAlmacen::muertoAMitadDeGrabar()
{
    QTemporaryDir dir;
    const QString prog = dir.filePath(u"prog"_s);
    QDir().mkpath(prog);
    QProcess hijo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LODRIN_HIJO"_s, prog);
    hijo.setProcessEnvironment(env);
    hijo.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(hijo.waitForStarted());
    while (!hijo.canReadLine() && hijo.state() == QProcess::Running)
        hijo.waitForReadyRead(30000);
    QCOMPARE(hijo.readLine().trimmed(), QByteArray("mitad"));
    hijo.kill();  // SIGKILL: no clean-up of any kind
    hijo.waitForFinished();

    // The file alone, as copied to a pen drive, holds every committed row.
    const QString ruta = Catalogo::RutaCatalogo(prog);
    const QString copia = dir.filePath(u"copia.mdb"_s);
    QVERIFY(QFile::copy(ruta, copia));
    QCOMPARE(Sqlite3(copia, u"PRAGMA integrity_check"_s), u"ok"_s);
    QCOMPARE(Sqlite3(copia, u"select dscd, count(*) from tlcancion, tlcd where cdcd = idcd group by dscd"_s),
             u"Uno|%1"_s.arg(kCanciones));

    // The catalogue itself holds none of the CD being recorded; recording it
    // again records it once.
    {
        Catalogo bd(ruta, u"tras"_s);
        bd.AbreBaseDatos();
        QCOMPARE(bd.Abre(u"select * from tlcd"_s).RecordCount(), 1);
        for (int vez = 0; vez < 2; ++vez)
            GrabaCD(bd, ListaCd(u"Dos"_s), Datos(u"Dos"_s, prog));
        QCOMPARE(bd.Abre(u"select * from tlcancion"_s).RecordCount(), 2 * kCanciones);
    }
    QCOMPARE(Sqlite3(ruta, u"PRAGMA integrity_check"_s), u"ok"_s);
    QCOMPARE(QDir(prog).entryList(QDir::Files), QStringList{u"anterior.mdb"_s});
}

void TestAlmacen::catalogoAntiguoSePoneAlDia()
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(u"anterior.mdb"_s);
    CatalogoAntiguo(ruta);
    QCOMPARE(LeeFichero(ruta).mid(18, 2), QByteArray("\x02\x02"));  // write-ahead journal
    {
        Catalogo bd(ruta, u"aldia"_s);
        bd.AbreBaseDatos();
        // Found whatever the case of its accented letters.
        QCOMPARE(DameCd(bd, u"más"_s, QString(), false), qint64(1));
        QString titulo = u"ÁRBOL"_s, ruta2;
        QCOMPARE(DameCancion(bd, titulo, 1, 1, 0, 0, ruta2, false, false, 0), qint64(1));
        EscribeFichero(QDir(CarpetaImagenes(dir.path())).filePath(u"1.jpg"_s), "copia");
        QCOMPARE(GrabaObjeto(bd, dir.path(), u"d"_s, 1, u"a\\portada.JPG"_s, QString(), true), qint64(1));
        // Its songs are in the search index.
        QCOMPARE(bd.PrimerEntero(u"select count(*) from tlbusca_fts where tlbusca_fts match 'arbol'"_s, {}), qint64(1));
    }
    // Rollback journal, the file alone, readable and sound for the plain tool,
    // and every lookup served by an index of its own.
    const QByteArray alDia = LeeFichero(ruta);
    QCOMPARE(alDia.mid(18, 2), QByteArray("\x01\x01"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"anterior.mdb"_s});
    QCOMPARE(Sqlite3(ruta, u"PRAGMA integrity_check"_s), u"ok"_s);
    QCOMPARE(Sqlite3(ruta, u"select dscd_clave, dscancion_clave from tlcd, tlcancion"_s), u"más|árbol"_s);
    for (const auto& [select, indice] :
         {std::pair{u"select 1 from tlcancion where dscancion_clave = 'x' and cddisco = 1 and cdautor = 1"_s,
                    u"ixcancion_clave"_s},
          {u"select 1 from tlcd where dscd_clave = 'x'"_s, u"ixcd_clave"_s},
          {u"select 1 from tlobjetos where dstabla = 'd' and idtabla = 1 and dspath_clave = 'x'"_s,
           u"ixobjetos_clave"_s}})
        QVERIFY2(Sqlite3(ruta, u"explain query plan "_s + select).contains(indice), qPrintable(select));

    // A catalogue that is up to date is not written by opening it.
    {
        Catalogo bd(ruta, u"otra"_s);
        bd.AbreBaseDatos();
        ArbolBD(bd, 1);
    }
    QCOMPARE(LeeFichero(ruta), alDia);
}

void TestAlmacen::soloLectura_data()
{
    QTest::addColumn<bool>("carpeta");
    QTest::addColumn<bool>("antiguo");
    QTest::newRow("fichero") << false << false;
    QTest::newRow("carpeta") << true << false;
    QTest::newRow("antiguo en carpeta") << true << true;
}

void TestAlmacen::soloLectura()
{
    QFETCH(bool, carpeta);
    QFETCH(bool, antiguo);
    QTemporaryDir dir;
    const QString prog = dir.filePath(u"prog"_s);
    QDir().mkpath(prog);
    const QString ruta = Catalogo::RutaCatalogo(prog);
    if (antiguo) {
        CatalogoAntiguo(ruta);
        QSqlDatabase d = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"deswal"_s);
        d.setDatabaseName(ruta);
        QVERIFY(d.open());
        QSqlQuery(d).exec(u"PRAGMA journal_mode=DELETE"_s);
        d.close();
        d = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"deswal"_s);
    } else {
        Catalogo bd(ruta, u"llena"_s);
        bd.AbreBaseDatos();
        GrabaCD(bd, ListaCd(u"Uno"_s), Datos(u"MÁS"_s, prog));
    }
    const QString bloqueado = carpeta ? prog : ruta;
    const auto permisos = QFile::permissions(bloqueado);
    QFile::setPermissions(bloqueado, QFileDevice::ReadOwner | QFileDevice::ReadUser | QFileDevice::ExeOwner);
    const QByteArray antes = LeeFichero(ruta);

    {
        Catalogo bd(ruta, u"lectura"_s);
        bd.AbreBaseDatos();
        QVERIFY(bd.SoloLectura());
        // Browsing, comparing and listing work.
        QCOMPARE(int(ArbolBD(bd, 1).size()), 2);
        QCOMPARE(int(ListaBD(bd, u"BDau#1"_s).filas.size()), antiguo ? 1 : kCanciones);
        // An older file that cannot be brought up to date compares as it did.
        QCOMPARE(DameCd(bd, antiguo ? u"MÁS"_s : u"más"_s, QString(), false), qint64(1));
        QCOMPARE(int(ParesAutorDisco(bd, 0, 0).size()), 1);
        ListaTrabajo lista = ListaCd(u"Uno"_s);
        ComparaCD(bd, lista);
        QCOMPARE(lista.Fila(1).icono, antiguo ? u"false"_s : u"true"_s);
        QCOMPARE(BuscaCanciones(bd, u"mas uno"_s).total, qint64(antiguo ? 1 : kCanciones));
        // Every write is refused, naming the file.
        const FilaBD fila{u"ca#1"_s, u"1"_s, u"f"_s, u"Ana"_s, u"Uno"_s, u"Otra"_s, u"MÁS"_s};
        const std::function<void()> escrituras[] = {
            [&] { GrabaCD(bd, ListaCd(u"Tres"_s), Datos(u"Tres"_s, prog)); },
            [&] { GuardaMascara(bd, u"a\\c"_s); },
            [&] { BorraCancion(bd, fila); },
            [&] { ActualizaCancion(bd, fila); },
        };
        for (const auto& escribe : escrituras) {
            try {
                escribe();
                QFAIL("a write was accepted");
            } catch (const LodrinError& e) {
                QVERIFY2(e.message().contains(u"solo lectura"_s) && e.message().count(ruta) == 1, qPrintable(e.message()));
            }
        }
    }
    QFile::setPermissions(bloqueado, permisos);
    QCOMPARE(LeeFichero(ruta), antes);
    QCOMPARE(QDir(prog).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList{u"anterior.mdb"_s});
}

void TestAlmacen::mayusculasDeCualquierLetra_data()
{
    QTest::addColumn<QString>("guardado");
    QTest::addColumn<QString>("buscado");
    QTest::addColumn<bool>("igual");
    QTest::newRow("Árbol") << u"Árbol"_s << u"árbol"_s << true;
    QTest::newRow("MÁS") << u"MÁS"_s << u"más"_s << true;
    QTest::newRow("ÑANDÚ") << u"ÑANDÚ"_s << u"ñandú"_s << true;
    QTest::newRow("griego") << u"ΣΟΦΙΑ"_s << u"σοφια"_s << true;
    QTest::newRow("otra letra") << u"Dover"_s << u"Dower"_s << false;
    QTest::newRow("comodines") << u"100% a_b"_s << u"100x aXb"_s << false;
}

void TestAlmacen::mayusculasDeCualquierLetra()
{
    QFETCH(QString, guardado);
    QFETCH(QString, buscado);
    QFETCH(bool, igual);
    QTemporaryDir dir;
    Catalogo bd(dir.filePath(u"anterior.mdb"_s), u"letras"_s);
    bd.AbreBaseDatos();
    const QString imagen = CreaImagen(dir.filePath(u"cd/x.jpg"_s));

    QString autor = guardado, disco = guardado, titulo = guardado, ruta = guardado;
    const qint64 idcd = DameCd(bd, guardado, u"1"_s, true);
    const qint64 idautor = DameAutor(bd, autor, true);
    const qint64 iddisco = DameDisco(bd, disco, idautor, true);
    const qint64 idcancion = DameCancion(bd, titulo, idautor, iddisco, idcd, 1, ruta, false, true, 1);
    const qint64 idobjeto = GrabaObjeto(bd, dir.path(), u"d"_s, iddisco, guardado, imagen, true);

    QString a = buscado, t = buscado, r;
    QCOMPARE(DameCd(bd, buscado, QString(), false), igual ? idcd : 0);
    QCOMPARE(DameAutor(bd, a, false) == idautor, igual);
    QCOMPARE(DameCancion(bd, t, idautor, iddisco, 0, 0, r, false, false, 0), igual ? idcancion : 0);
    QCOMPARE(GrabaObjeto(bd, dir.path(), u"d"_s, iddisco, buscado, imagen, true) == idobjeto, igual);
    // What is stored is what was given.
    const FilaBD f = ListaBD(bd, u"BDcd#%1"_s.arg(idcd)).filas.at(0);
    QCOMPARE(QStringList({f.autor, f.disco, f.cancion, f.cd}), QStringList(4, guardado));
}

// Another program holding the file for writing: the write fails whole, and
// its message names the catalogue once.
void TestAlmacen::bloqueadoPorOtroPrograma()
{
    QTemporaryDir dir;
    Catalogo bd(Catalogo::RutaCatalogo(dir.path()), u"bloqueado"_s);
    bd.AbreBaseDatos();
    bd.PonEsperaMaxima(500);
    {
        QSqlDatabase otro = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"otro"_s);
        otro.setDatabaseName(bd.ruta());
        QVERIFY(otro.open());
        QVERIFY(QSqlQuery(otro).exec(u"BEGIN IMMEDIATE"_s));
        try {
            GrabaCD(bd, ListaCd(u"Uno"_s), Datos(u"Uno"_s, dir.path()));
            QFAIL("recorded over another program's lock");
        } catch (const LodrinError& e) {
            QVERIFY2(e.message().contains(u"otro programa lo tiene bloqueado"_s) && e.message().count(bd.ruta()) == 1,
                     qPrintable(e.message()));
        }
        otro.rollback();
        otro.close();
    }
    QSqlDatabase::removeDatabase(u"otro"_s);
    QCOMPARE(bd.Abre(u"select * from tlcancion"_s).RecordCount(), 0);
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("LODRIN_HIJO"))
        return Hijo(qEnvironmentVariable("LODRIN_HIJO"));
    TestAlmacen t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_almacen.moc"
