// What a shared catalogue adds: programs recording at once, moving a
// catalogue between a file and a server, and a server that cannot be used.
// Runs on the engine LODRIN_PRUEBA_MOTOR selects.
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QSysInfo>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cstdio>

#include "catalogue/catalogo_relleno.h"
#include "catalogue/copia.h"
#include "catalogue/edicion.h"
#include "catalogue/navegador.h"
#include "catalogue/grabacion.h"
#include "catalogue/mascarasbd.h"
#include "catalogue/nombres.h"
#include "catalogue/objetos.h"
#include "common/diario.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "worklist/listatrabajo.h"

using namespace Qt::StringLiterals;

namespace {

// A CD of 100 analysed songs by five authors over 35 discs; the CDs of one
// test share every author and disc.
ListaTrabajo ListaCd(const QString& cd)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    for (int k = 1; k <= 100; ++k) {
        const int i = l.Anade(u"%1\\%2.mp3"_s.arg(cd).arg(k), FicheroSinAudio(), u"f"_s, u"mp3"_s);
        for (const auto& [c, v] : {std::pair{columna::kAutor, u"Autora %1"_s.arg(k % 5)},
                                   {columna::kDisco, u"Disco %1"_s.arg(k % 7)}, {columna::kCancion, u"Canción %1"_s.arg(k)},
                                   {columna::kPosicion, QString::number(k)}, {columna::kMascara, u"a\\d\\c"_s}})
            l.PonSubItem(i, c, v);
    }
    return l;
}

void Graba(Catalogo& bd, const QString& cd, const QString& dirPrograma)
{
    DatosGrabacion d;
    d.descripcion = cd;
    d.dirPrograma = dirPrograma;
    GrabaCD(bd, ListaCd(cd), d);
}

// A child: opens the catalogue of its folder, waits for the word, records its CDs.
int Hijo(const QString& dirPrograma, const QStringList& cds)
{
    try {
        Catalogo bd(UbicacionCatalogo::DeCarpeta(dirPrograma), u"hijo"_s);
        bd.AbreBaseDatos();
        while (!QFile::exists(QDir(dirPrograma).filePath(u"ya"_s)))
            QThread::usleep(200);
        for (const QString& cd : cds)
            Graba(bd, cd, dirPrograma);
    } catch (const LodrinError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}

// Every row of every table, and the bytes of every picture's copy.
QStringList Contenido(Catalogo& bd, const QString& dirPrograma)
{
    QStringList filas;
    for (const char* select :
         {"select idautor, dsautor, dsautor_std, intautor from tlautor order by idautor",
          "select iddisco, dsdisco, dsdisco_std, cdautord from tldisco order by iddisco",
          "select idcd, dscd, sercd, lotienecd, dtcd, dscd_clave from tlcd order by idcd",
          "select idcancion, dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime, dscancion_clave"
          " from tlcancion order by idcancion",
          "select idobjeto, dstabla, idtabla, dspath, dspath_clave from tlobjetos order by idobjeto"})
        bd.Recorre(QString::fromLatin1(select), {}, [&](const QSqlQuery& q) {
            QStringList v;
            for (int i = 0; i < q.record().count(); ++i) {
                const QVariant x = q.value(i);
                v << (x.typeId() == QMetaType::Bool ? QString::number(x.toInt())
                      : x.typeId() == QMetaType::QDate ? x.toDate().toString(Qt::ISODate) : x.toString());
            }
            filas << v.join(u'|');
        });
    filas << MascarasGuardadas(bd);
    for (Consulta r = bd.Abre(u"select idobjeto from tlobjetos order by idobjeto"_s); !r.Fin(); r.Siguiente())
        filas << QString::fromLatin1(LeeFichero(CopiaImagen(bd, dirPrograma, r.Entero(u"idobjeto"_s))).toHex());
    return filas;
}

}  // namespace

class TestServidor : public QObject {
    Q_OBJECT
private slots:
    void dosProgramasALaVez();
    void copiaIdaYVuelta();
    void copiaMatadaNoDejaNada();
    void servidorQueNoSirve_data();
    void servidorQueNoSirve();
    void faltasQueSeDicen_data();
    void faltasQueSeDicen();
};

void TestServidor::dosProgramasALaVez()
{
    QTemporaryDir dir;
    const QString prog = dir.path();
    {
        Catalogo bd(CatalogoDePrueba(prog), u"vacio"_s);
        bd.AbreBaseDatos();
    }
    QProcess hijos[2];
    const QStringList cds[2] = {{u"A"_s, u"B"_s}, {u"B"_s, u"C"_s}};
    for (int h = 0; h < 2; ++h) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"LODRIN_HIJO"_s, prog);
        env.insert(u"LODRIN_CDS"_s, cds[h].join(u','));
        hijos[h].setProcessEnvironment(env);
        hijos[h].start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(hijos[h].waitForStarted());
    }
    QThread::msleep(300);  // both connected and waiting
    EscribeFichero(QDir(prog).filePath(u"ya"_s), "");
    for (QProcess& h : hijos) {
        QVERIFY(h.waitForFinished(60000));
        QVERIFY2(h.exitCode() == 0, h.readAllStandardError().constData());
    }
    Catalogo bd(UbicacionCatalogo::DeCarpeta(prog), u"cuenta"_s);
    bd.AbreBaseDatos();
    for (const auto& [select, n] :
         {std::pair{u"select count(*) from tlautor"_s, 5}, {u"select count(*) from tldisco"_s, 35},
          {u"select count(*) from tlcd"_s, 3}, {u"select count(*) from tlcancion"_s, 300},
          {u"select count(distinct dscancion_clave || '|' || cdcd) from tlcancion"_s, 300}})
        QCOMPARE(bd.PrimerEntero(select, {}), qint64(n));
}

void TestServidor::copiaIdaYVuelta()
{
    if (!PruebaEnServidor())
        QSKIP("needs the test server (LODRIN_PRUEBA_MOTOR=postgresql)");
    QTemporaryDir dir;
    const QString ida = dir.filePath(u"ida"_s), vuelta = dir.filePath(u"vuelta"_s);
    QDir().mkpath(ida);
    Catalogo origen(Catalogo::RutaCatalogo(ida), u"origen"_s);
    origen.AbreBaseDatos();
    Graba(origen, u"Árbol"_s, ida);
    GuardaMascara(origen, u"d\\a\\c"_s);
    for (int k = 0; k < 3; ++k) {
        const QString imagen = CreaImagen(dir.filePath(u"cd/%1.%2"_s.arg(k).arg(k == 2 ? u"gif"_s : u"jpg"_s)), 20 + k);
        GrabaObjeto(origen, ida, u"d"_s, k + 1, u"cd\\P%1.%2"_s.arg(k).arg(k == 2 ? u"GIF"_s : u"JPG"_s), imagen, true);
    }
    const QStringList antes = Contenido(origen, ida);

    const UbicacionCatalogo servidor = BaseDePrueba(dir.filePath(u"servidor.ini"_s));
    QVERIFY(CopiaCatalogo(origen, ida, servidor).contains(u"3 imágenes"_s));
    // Into a catalogue that is not empty any more, nothing is copied.
    QVERIFY_THROWS_EXCEPTION(LodrinError, CopiaCatalogo(origen, ida, servidor));
    {
        Catalogo bd(servidor, u"servidor"_s);
        bd.AbreBaseDatos();
        QCOMPARE(bd.PrimerEntero(u"select count(*) from tlimagenes"_s, {}), qint64(3));
        // The server gives new rows ids after the copied ones.
        QString nueva = u"Nueva"_s;
        QCOMPARE(DameAutor(bd, nueva, true), qint64(6));
        bd.Ejecuta(u"delete from tlautor where dsautor = ?"_s, {nueva});
        QCOMPARE(CopiaCatalogo(bd, QString(), DestinoDeCopia(QDir(vuelta).filePath(u"anterior.mdb"_s))).isEmpty(),
                 false);
    }
    Catalogo copia(Catalogo::RutaCatalogo(vuelta), u"vuelta"_s);
    copia.AbreBaseDatos();
    QCOMPARE(Contenido(copia, vuelta), antes);
}

// A copy into a new file killed at many points: once the program has
// started again, the target is a whole catalogue or is not there, and
// nothing else of the copy is left.
void TestServidor::copiaMatadaNoDejaNada()
{
    QTemporaryDir dir;
    const QString origen = dir.filePath(u"origen"_s);
    QDir().mkpath(origen);
    Catalogo bd(CatalogoDePrueba(origen), u"copiada"_s);
    bd.AbreBaseDatos();
    for (const QString& cd : {u"Árbol"_s, u"Ñandú"_s, u"Añil"_s})
        Graba(bd, cd, origen);
    for (int k = 0; k < 3; ++k)
        GrabaObjeto(bd, origen, u"d"_s, k + 1, u"cd\\P%1.jpg"_s.arg(k),
                    CreaImagen(dir.filePath(u"cd/%1.jpg"_s.arg(k)), 20 + k), true);
    const QStringList antes = Contenido(bd, origen);
    QElapsedTimer reloj;
    reloj.start();
    CopiaCatalogo(bd, origen, DestinoDeCopia(dir.filePath(u"entera/anterior.mdb"_s)));
    const qint64 duracion = reloj.elapsed() + 20;
    int matados = 0;
    for (int k = 0; k < 12; ++k) {
        const QString carpeta = dir.filePath(u"copia%1"_s.arg(k)), destino = carpeta + u"/anterior.mdb"_s;
        const QString imagenes = CarpetaImagenes(carpeta);
        // A third die at a moment of the copy, a third while the file is
        // built, a third once its pictures are being put in place.
        matados += MataHijo({u"--copia"_s, origen, destino}, [&](qint64 ms) {
            switch (k % 3) {
            case 0: return ms >= k * duracion / 12;
            case 1: return QFile::exists(destino + u".copia"_s);
            default: return QFile::exists(destino) || !QDir(imagenes).entryList({u"*.nuevo"_s}).isEmpty();
            }
        });
        Diario().Recupera();
        const QStringList quedan = QDir(carpeta).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(quedan.isEmpty() || quedan == QStringList{u"anterior.mdb"_s}, qPrintable(quedan.join(u' ')));
        if (quedan.isEmpty()) {
            QVERIFY2(QDir(imagenes).entryList(QDir::Files | QDir::Hidden).isEmpty(), qPrintable(QDir(imagenes).entryList(QDir::Files | QDir::Hidden).join(u' ')));
            continue;
        }
        Catalogo copia(Catalogo::RutaCatalogo(carpeta), u"copia%1"_s.arg(k));
        copia.AbreBaseDatos();
        QCOMPARE(Contenido(copia, carpeta), antes);
    }
    QVERIFY(matados > 0);
}

void TestServidor::servidorQueNoSirve_data()
{
    QTest::addColumn<bool>("otraTabla");
    QTest::newRow("no contesta") << false;
    if (PruebaEnServidor())
        QTest::newRow("base con otras tablas") << true;
}

void TestServidor::servidorQueNoSirve()
{
    QFETCH(bool, otraTabla);
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"lodrin.ini"_s);
    UbicacionCatalogo u;
    if (otraTabla) {
        u = BaseDePrueba(ini);
        Catalogo bd(u, u"ajena"_s);
        bd.AbreBaseDatos();
        QVERIFY(QSqlQuery(bd.db()).exec(u"create table facturas (n integer)"_s));
    } else {
        QSettings s(ini, QSettings::IniFormat);
        for (const auto& [k, v] : {std::pair{"servidor", "postgresql"}, {"host", "/no/hay/servidor"},
                                   {"database", "discoteca"}, {"user", "ana"}})
            s.setValue(u"catalogo/"_s + QLatin1String(k), QLatin1String(v));
        s.sync();
        u = UbicacionCatalogo::DeCarpeta(dir.path());
    }
    Catalogo bd(u, u"nosirve"_s);
    try {
        bd.AbreBaseDatos();
        QFAIL("opened");
    } catch (const CatalogoNoAbierto& e) {
        const QString esperado = otraTabla ? u"La base de datos %1 del servidor %2 no es un catálogo: tiene la tabla facturas"_s
                                           : u"No se puede conectar con la base de datos %1 del servidor %2: "_s;
        QVERIFY2(e.message().startsWith(esperado.arg(u.base, u.Servidor())), qPrintable(e.message()));
    }
    QCOMPARE(TituloVentana(u), u"Lodrin - %1@%2"_s.arg(u.base, u.Servidor()));
    // A server that asks for a password none was given for says so in Spanish.
    QVERIFY(MotorCatalogo::Para(u)
                ->Texto(QSqlError(u"fe_sendauth: no password supplied"_s, QString(), QSqlError::ConnectionError))
                .startsWith(u"el servidor pide una contraseña y no se ha dado ninguna"_s));
}

// What the common tests do not reach: an edit that would repeat a song on
// its disc, a catalogue of a newer program, a connection the server lost, a
// table of another user, a copy that fails half-way.
void TestServidor::faltasQueSeDicen_data()
{
    QTest::addColumn<QString>("falta");
    QTest::newRow("canción repetida") << u"repetida"_s;
    QTest::newRow("copia que falla") << u"copia"_s;
    QTest::newRow("catálogo más nuevo") << u"nuevo"_s;
    QTest::newRow("bloqueado") << u"bloqueo"_s;
    QTest::newRow("bloqueo cancelado") << u"bloqueo cancelado"_s;
    if (!PruebaEnServidor())
        return;  // the rest are the server's own
    QTest::newRow("conexión perdida") << u"perdida"_s;
    QTest::newRow("tabla de otro usuario") << u"ajena"_s;
    QTest::newRow("caché de otro catálogo") << u"cache"_s;
    QTest::newRow("tablas sin permiso") << u"permiso"_s;
    QTest::newRow("base vacía") << u"vacia"_s;
    QTest::newRow("copia en sí mismo") << u"mismo"_s;
}

void TestServidor::faltasQueSeDicen()
{
    QFETCH(QString, falta);
    QTemporaryDir dir;
    const UbicacionCatalogo u = CatalogoDePrueba(dir.path());
    auto bd = std::make_unique<Catalogo>(u, u"faltas"_s);
    bd->AbreBaseDatos();
    const CancionPrueba uno = GrabaCancionPrueba(*bd, u"CD"_s, u"Ana"_s, u"Mar"_s, u"Canción 1"_s, 1);
    GrabaCancionPrueba(*bd, u"CD"_s, u"Ana"_s, u"Mar"_s, u"Canción 13"_s, 13);
    const auto canciones = [&] {
        QStringList t;
        for (const FilaBD& f : ListaBD(*bd, u"BDau#"_s + QString::number(uno.idautor)).filas)
            t << f.cancion;
        t.sort();
        return t;
    };
    if (falta == u"repetida"_s) {
        FilaBD fila = ListaBD(*bd, u"BDau#"_s + QString::number(uno.idautor)).filas.at(1);
        QCOMPARE(fila.cancion, u"Canción 13"_s);
        fila.cancion = u"CANCIÓN 1"_s;
        try {
            ActualizaCancion(*bd, fila);
            QFAIL("a disc took two songs of one title");
        } catch (const LodrinError& e) {
            QVERIFY2(e.message().endsWith(u"ya hay una canción «CANCIÓN 1» en ese disco"_s), qPrintable(e.message()));
            QVERIFY(dynamic_cast<const ConflictoCatalogo*>(&e) == nullptr);
        }
        QCOMPARE(canciones(), QStringList({u"Canción 1"_s, u"Canción 13"_s}));
    } else if (falta == u"copia"_s) {
        GrabaPortadaPrueba(*bd, dir.path(), uno.iddisco, CreaImagen(dir.filePath(u"o/a.jpg"_s)), u"x\\a.jpg"_s);
        // The copy's pictures cannot be written: nothing of it stays.
        const QString destino = dir.filePath(u"copia/anterior.mdb"_s);
        QVERIFY(QDir().mkpath(dir.filePath(u"copia"_s)));
        EscribeFichero(dir.filePath(u"copia/imagenes"_s), "no es una carpeta");
        QVERIFY_THROWS_EXCEPTION(LodrinError, CopiaCatalogo(*bd, dir.path(), DestinoDeCopia(destino)));
        QCOMPARE(QDir(dir.filePath(u"copia"_s)).entryList(QDir::Files), QStringList{u"imagenes"_s});
    } else if (falta == u"nuevo"_s) {
        // A step this program does not know: read, never written.
        bd->Ejecuta(PruebaEnServidor() ? u"update tlversion set version = 99"_s : u"PRAGMA user_version = 99"_s);
        bd = std::make_unique<Catalogo>(u, u"nuevo"_s);
        bd->AbreBaseDatos();
        QVERIFY(bd->SoloLectura());
        QVERIFY2(bd->aviso().endsWith(u"es de una versión de Lodrin más nueva que esta: se abre solo para leer."_s),
                 qPrintable(bd->aviso()));
        QCOMPARE(canciones(), QStringList({u"Canción 1"_s, u"Canción 13"_s}));
        QString nombre = u"Otro"_s;
        QVERIFY_THROWS_EXCEPTION(LodrinError, DameAutor(*bd, nombre, true));
    } else if (falta.startsWith(u"bloqueo"_s)) {
        // Another program holds the catalogue: the write waits at most the
        // limit, the window hearing of it, or until the person cancels, and
        // then says which catalogue and, where the server tells, who.
        const bool cancela = falta.endsWith(u"cancelado"_s);
        const QString cerrojo = u"cerrojo"_s;
        std::unique_ptr<Catalogo> otro;
        if (PruebaEnServidor()) {
            otro = std::make_unique<Catalogo>(u, cerrojo);
            otro->AbreParaLeer();
        } else {
            QSqlDatabase::addDatabase(u"QSQLITE"_s, cerrojo).setDatabaseName(u.fichero);
        }
        {
            QSqlDatabase d = QSqlDatabase::database(cerrojo);
            QSqlQuery q(d);
            QVERIFY(q.exec(PruebaEnServidor() ? u"begin"_s : u"begin immediate"_s));
            QVERIFY(!PruebaEnServidor() || q.exec(u"lock table tlcd in exclusive mode"_s));
        }
        constexpr qint64 kLimite = 1000;
        bd->PonEsperaMaxima(kLimite);
        int avisos = 0;
        bool acabada = false;
        bd->PonAvisoEspera([&](qint64 esperado, qint64 limite) {
            acabada = esperado < 0;
            avisos += esperado >= 0 && limite == kLimite;
            return !(cancela && avisos == 2);
        });
        QElapsedTimer reloj;
        reloj.start();
        try {
            DameCd(*bd, u"Nuevo"_s, u"1"_s, true);
            QFAIL("written under another program's lock");
        } catch (const CatalogoBloqueado& e) {
            QVERIFY2(e.message().startsWith(u"No se ha podido añadir el CD Nuevo en el catálogo %1: otro programa lo tiene bloqueado"_s.arg(bd->ruta())),
                     qPrintable(e.message()));
            if (PruebaEnServidor())
                QVERIFY2(e.message().contains(u"(Lodrin "_s + QSysInfo::machineHostName()), qPrintable(e.message()));
        }
        QVERIFY(reloj.elapsed() < (cancela ? kLimite : 2 * kLimite));
        QVERIFY(avisos >= (cancela ? 2 : 3));
        QVERIFY(acabada);
        otro.reset();
        QSqlDatabase::database(cerrojo).rollback();
        QSqlDatabase::removeDatabase(cerrojo);
        QVERIFY(DameCd(*bd, u"Nuevo"_s, u"1"_s, true) > 0);
    } else if (falta == u"permiso"_s || falta == u"vacia"_s || falta == u"mismo"_s) {
        // A user the catalogue's tables give nothing to, an empty database
        // read, one database copied into itself through another spelling of
        // its server: each told, naming the catalogue.
        UbicacionCatalogo otra = falta == u"vacia"_s ? BaseDePrueba(dir.filePath(u"vacia.ini"_s)) : u;
        if (falta == u"permiso"_s) {
            QVERIFY(QSqlQuery(bd->db()).exec(u"do $$ begin if not exists (select 1 from pg_roles where rolname = 'eva')"
                                              " then create role eva login; end if; end $$"_s));
            otra.usuario = u"eva"_s;
        }
        if (falta == u"mismo"_s) {
            otra = BaseDePrueba(dir.filePath(u"mismo.ini"_s));
            bd = std::make_unique<Catalogo>(otra, u"vacio"_s);
            bd->AbreBaseDatos();
            otra.host += u"/"_s;
        }
        const QString esperado = falta == u"permiso"_s ? u"No se puede abrir el catálogo %1: el servidor no da permiso"_s
                                 : falta == u"vacia"_s ? u"No hay catálogo en %1"_s
                                                       : u"El catálogo %1 no se puede copiar en sí mismo"_s;
        try {
            Catalogo c(otra, u"otra"_s);
            if (falta == u"permiso"_s)
                c.AbreBaseDatos();
            else if (falta == u"vacia"_s)
                c.AbreParaLeer();
            else
                CopiaCatalogo(*bd, dir.path(), otra);
            QFAIL("not refused");
        } catch (const LodrinError& e) {
            QVERIFY2(e.message().startsWith(esperado.arg(falta == u"mismo"_s ? bd->ruta() : otra.Nombre())),
                     qPrintable(e.message()));
        }
    } else if (falta == u"cache"_s) {
        // The folder caches this catalogue's cover; then its lodrin.ini
        // names another catalogue, whose own cover has the same id.
        const QString suya = CreaImagen(dir.filePath(u"o/a.jpg"_s), 20);
        const qint64 id = GrabaPortadaPrueba(*bd, dir.path(), uno.iddisco, suya, u"x\\a.jpg"_s);
        QCOMPARE(LeeFichero(CopiaImagen(*bd, dir.path(), id)), LeeFichero(suya));
        QTemporaryDir otraCarpeta;
        Catalogo otro(CatalogoDePrueba(otraCarpeta.path()), u"otro"_s);
        otro.AbreBaseDatos();
        const CancionPrueba dos = GrabaCancionPrueba(otro, u"CD"_s, u"Eva"_s, u"Sol"_s, u"Luz"_s, 1);
        const QString propia = CreaImagen(dir.filePath(u"o/b.jpg"_s), 30);
        QCOMPARE(GrabaPortadaPrueba(otro, otraCarpeta.path(), dos.iddisco, propia, u"y\\b.jpg"_s), id);
        QCOMPARE(LeeFichero(CopiaImagen(otro, dir.path(), id)), LeeFichero(propia));
    } else if (falta == u"perdida"_s) {
        // The server ends this program's session, as a restart would.
        const qint64 pid = bd->PrimerEntero(u"select pg_backend_pid()"_s, {});
        {
            Catalogo otro(u, u"mata"_s);
            otro.AbreParaLeer();
            QVERIFY(otro.PrimerEntero(u"select count(*) from pg_stat_activity where pid = ?"_s, {pid}) == 1);
            QVERIFY(QSqlQuery(otro.db()).exec(u"select pg_terminate_backend(%1)"_s.arg(pid)));
        }
        QTest::qWait(200);
        QString nombre = u"Tras el corte"_s;
        QVERIFY(DameAutor(*bd, nombre, true) > 0);
        QCOMPARE(canciones(), QStringList({u"Canción 1"_s, u"Canción 13"_s}));
    } else if (falta == u"ajena"_s) {
        // Tables another user owns, that this one may not even see, make
        // the database no catalogue.
        bd.reset();
        Catalogo admin(u, u"admin"_s);
        admin.AbreParaLeer();
        for (const QString& sql :
             {u"do $$ begin if not exists (select 1 from pg_roles where rolname = 'ana') then create role ana login;"
              " end if; end $$"_s,
              u"create table facturas (n integer)"_s, u"revoke all on facturas from public"_s,
              u"grant all on all tables in schema public to ana"_s, u"grant all on all sequences in schema public to ana"_s,
              u"revoke all on facturas from ana"_s})
            QVERIFY2(QSqlQuery(admin.db()).exec(sql), qPrintable(sql));
        UbicacionCatalogo comoAna = u;
        comoAna.usuario = u"ana"_s;
        Catalogo ana(comoAna, u"ana"_s);
        try {
            ana.AbreBaseDatos();
            QFAIL("a database with another user's table was taken for a catalogue");
        } catch (const CatalogoNoAbierto& e) {
            QVERIFY2(e.message().contains(u"no es un catálogo: tiene la tabla facturas"_s), qPrintable(e.message()));
        }
    }
}

int main(int argc, char** argv)
{
    // The journal of whole writes, the children's too, in a folder of the test's.
    QTemporaryDir datos;
    if (argc < 2 || qstrcmp(argv[1], "--copia") != 0)
        qputenv("XDG_DATA_HOME", QFile::encodeName(datos.path()));
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--copia") == 0) {
        const QString origen = QString::fromLocal8Bit(argv[2]);
        Catalogo bd(UbicacionCatalogo::DeCarpeta(origen), u"hijo"_s);
        bd.AbreBaseDatos();
        std::puts("empieza");
        std::fflush(stdout);
        CopiaCatalogo(bd, origen, DestinoDeCopia(QString::fromLocal8Bit(argv[3])));
        return 0;
    }
    if (qEnvironmentVariableIsSet("LODRIN_HIJO"))
        return Hijo(qEnvironmentVariable("LODRIN_HIJO"), qEnvironmentVariable("LODRIN_CDS").split(u','));
    TestServidor t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_servidor.moc"
