// The installed tree, as a user gets it from cmake --install or the package:
// menu entries, the command line, and where the catalogue is kept.
#include <QDirIterator>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

#include "catalogue/catalogo_relleno.h"
#include "programs/carpetavisor.h"
#include "support/testsupport.h"

namespace {

struct Salida {
    int estado = -1;
    QString out, err;
};

// Root writes into any folder, so as root the programs run as nobody to meet
// a folder they cannot write.
QStringList ComoUsuario(const QString& programa, const QStringList& args)
{
    if (geteuid() != 0)
        return QStringList{programa} + args;
    return QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", programa} + args;
}

void PreparaProceso(QProcess& p, const QStringList& orden, const QProcessEnvironment& entorno)
{
    p.setProcessEnvironment(entorno);
    p.setProgram(orden.first());
    p.setArguments(orden.mid(1));
}

Salida Ejecuta(const QStringList& orden, const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    PreparaProceso(p, orden, entorno);
    p.start();
    Salida s;
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
        s.estado = p.exitCode();
    s.out = QString::fromUtf8(p.readAllStandardOutput());
    s.err = QString::fromUtf8(p.readAllStandardError());
    return s;
}

void Abre(const QString& carpeta) { QFile::setPermissions(carpeta, QFileDevice::Permissions(0x7777)); }

// A catalogue file that holds tables (readable once the program committed them).
bool EsCatalogo(const QString& ruta)
{
    bool hay = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "mira");
        db.setDatabaseName(ruta);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        QSqlQuery q(db);
        hay = db.open() && q.exec("SELECT COUNT(*) FROM sqlite_master") && q.next() && q.value(0).toInt() > 0;
    }
    QSqlDatabase::removeDatabase("mira");
    return hay;
}

class PreguntaGuionada : public PreguntaAutorun {
public:
    QString respuesta;
    int preguntas = 0;
    QString EligeAutorun() override
    {
        ++preguntas;
        return respuesta;
    }
};

}  // namespace

class TestInstalacion : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void entradasDelMenu();
    void lineaDeOrdenes_data();
    void lineaDeOrdenes();
    void carpetaDelCatalogo_data();
    void carpetaDelCatalogo();
    void carpetaDelVisor_data();
    void carpetaDelVisor();

private:
    QTemporaryDir raiz_;
    QString prefijo_;    // where the installed tree is
    QString nombrado_;   // the prefix its menu entries name
};

void TestInstalacion::initTestCase()
{
    QVERIFY(raiz_.isValid());
    Abre(raiz_.path());
    // LODRIN_PAQUETE names a .deb to check instead: its tree is unpacked here,
    // and its menu entries name /usr.
    const QString paquete = qEnvironmentVariable("LODRIN_PAQUETE");
    prefijo_ = raiz_.filePath(paquete.isEmpty() ? "prefijo" : "paquete/usr");
    nombrado_ = paquete.isEmpty() ? prefijo_ : "/usr";
    const Salida s = paquete.isEmpty()
                         ? Ejecuta({LODRIN_CMAKE, "--install", LODRIN_BUILD_DIR, "--prefix", prefijo_})
                         : Ejecuta({"dpkg-deb", "-x", paquete, raiz_.filePath("paquete")});
    QVERIFY2(s.estado == 0, qPrintable(s.out + s.err));
    Catalogo bd(Catalogo::RutaCatalogo(prefijo_ + "/bin"), "instalado");
    bd.AbreBaseDatos();
    GrabaCancionPrueba(bd, "Verano", "Bea Ruiz", "Orillas", "Canción del Río", 3);
    Catalogo otro(raiz_.filePath("otro, ñ.mdb"), "otro");
    otro.AbreBaseDatos();
    GrabaCancionPrueba(otro, "Invierno", "Coro Añil", "Álbum del Ñandú", "Otoño", 1);
}

void TestInstalacion::entradasDelMenu()
{
    for (const QString programa : {"Lodrin", "Vistel"}) {
        const QString entrada = prefijo_ + "/share/applications/" + programa.toLower() + ".desktop";
        const Salida v = Ejecuta({"desktop-file-validate", entrada});
        QVERIFY2(v.estado == 0 && v.out.isEmpty() && v.err.isEmpty(), qPrintable(entrada + ": " + v.out + v.err));
        const QStringList lineas = QString::fromUtf8(LeeFichero(entrada)).split('\n');
        const QString exec = lineas.filter(QRegularExpression("^Exec=")).value(0);
        const QString icono = lineas.filter(QRegularExpression("^Icon=")).value(0).mid(5);
        const QString ruta = nombrado_ + "/bin/" + programa;
        QVERIFY2(exec == "Exec=\"" + ruta + "\"" || exec.startsWith("Exec=\"" + ruta + "\" "), qPrintable(exec));
        QVERIFY(QFileInfo(prefijo_ + "/bin/" + programa).isExecutable());
        // The icon by its name in the theme, in every size.
        QCOMPARE(icono, programa.toLower());
        for (const char* tamano : {"16x16", "24x24", "32x32", "48x48", "64x64"})
            QVERIFY(QFileInfo(prefijo_ + "/share/icons/hicolor/" + tamano + "/apps/" + icono + ".png").isFile());
        QVERIFY(QFileInfo(prefijo_ + "/share/man/man1/" + programa + ".1.gz").isFile());
    }
    QVERIFY(QFileInfo(prefijo_ + "/share/doc/lodrin/copyright").isFile());
    QVERIFY(QFileInfo(prefijo_ + "/share/doc/lodrin/changelog.gz").isFile());
    // Every file 0644, the programs 0755, whatever the checkout's modes.
    const auto lectura = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                         QFileDevice::ReadOther | QFileDevice::ReadUser | QFileDevice::WriteUser;
    const auto programa = lectura | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther |
                          QFileDevice::ExeUser;
    QDirIterator todos(prefijo_, QDir::Files, QDirIterator::Subdirectories);
    while (todos.hasNext()) {
        const QFileInfo f(todos.next());
        if (f.fileName() == "anterior.mdb" || f.path().endsWith("/imagenes"))
            continue;  // what initTestCase recorded
        QVERIFY2(f.permissions() == (f.path().endsWith("/bin") ? programa : lectura), qPrintable(f.filePath()));
    }
}

void TestInstalacion::lineaDeOrdenes_data()
{
    QTest::addColumn<QStringList>("orden");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString version = QStringLiteral(LODRIN_VERSION);
    QTest::newRow("versión") << QStringList{"Lodrin", "--version"} << 0 << "Lodrin " + version + "\n" << "";
    QTest::newRow("versión del visor") << QStringList{"Vistel", "-v"} << 0 << "Vistel " + version + "\n" << "";
    // The toolkit's own options are left to it.
    QTest::newRow("opción del toolkit") << QStringList{"Lodrin", "-platform", "xcb", "-v"} << 0
                                        << "Lodrin " + version + "\n" << "";
    QTest::newRow("ayuda") << QStringList{"Lodrin", "--help"} << 0
                           << "Uso: Lodrin [OPCIÓN]\nCatalogador de CDs de MP3. Sin opciones abre la ventana.\n\n"
                              "Opciones:\n  -h, --help                muestra esta ayuda y termina\n"
                              "  -v, --version             muestra la versión y termina\n"
                              "  --buscar TEXTO            escribe las canciones del catálogo con todas las palabras y"
                              " termina\n"
                              "  --copia-catalogo DESTINO  copia el catálogo en uso en DESTINO (un .ini de servidor o un"
                              " fichero nuevo)\n"
                              "  --catalogo RUTA           usa el catálogo RUTA (un fichero, un .ini de servidor o su"
                              " carpeta)\n"
                              "  --exportar FICHERO.csv    escribe todas las canciones del catálogo en FICHERO.csv y"
                              " termina\n\nCarpeta del catálogo: "
                           << "";
    // The catalogue beside the installed program holds the song initTestCase records.
    QTest::newRow("buscar") << QStringList{"Lodrin", "--buscar", "rio CANCION"} << 0
                            << "Bea Ruiz\tOrillas\tCanción del Río\t3\t03:00\tVerano\n" << "";
    // Another catalogue named on the command line, for a search and an export.
    const QString otro = raiz_.filePath("otro, ñ.mdb");
    QTest::newRow("buscar en otro catálogo") << QStringList{"Lodrin", "--catalogo", otro, "--buscar", "otoño"} << 0
                                             << "Coro Añil\tÁlbum del Ñandú\tOtoño\t1\t03:00\tInvierno\n" << "";
    QTest::newRow("exportar otro catálogo")
        << QStringList{"Lodrin", "--exportar", raiz_.filePath("x.csv"), "--catalogo", otro} << 0
        << raiz_.filePath("x.csv") + ": 1 canción\n" << "";
    QTest::newRow("buscar sin resultado") << QStringList{"Lodrin", "--buscar=rio zzz"} << 1 << "" << "";
    QTest::newRow("buscar demasiadas palabras")
        << QStringList{"Lodrin", "--buscar", [] {
               QStringList p;
               for (int i = 0; i < 33; ++i)
                   p << "p" + QString::number(i);
               return p.join(' ');
           }()} << 2 << "" << "Lodrin: Se pueden buscar como mucho 32 palabras a la vez\n";
    QTest::newRow("ayuda del visor") << QStringList{"Vistel", "-h"} << 0 << "Uso: Vistel [OPCIÓN] [CARPETA]\n" << "";
    QTest::newRow("opción desconocida")
        << QStringList{"Lodrin", "--nada"} << 2 << ""
        << "Lodrin: opción desconocida «--nada»\nPruebe «Lodrin --help» para más información.\n";
    QTest::newRow("opción desconocida del visor")
        << QStringList{"Vistel", "--buscar=x", "/cd"} << 2 << ""
        << "Vistel: opción desconocida «--buscar=x»\nPruebe «Vistel --help» para más información.\n";
    // Decided before any window: no display is needed to hear it.
    QTest::newRow("opción de un guion desconocida")
        << QStringList{"Lodrin", "-x"} << 2 << ""
        << "Lodrin: opción desconocida «-x»\nPruebe «Lodrin --help» para más información.\n";
    QTest::newRow("opción del toolkit sin valor")
        << QStringList{"Lodrin", "-platform"} << 2 << ""
        << "Lodrin: la opción «-platform» necesita un valor\nPruebe «Lodrin --help» para más información.\n";
    QTest::newRow("argumento de más")
        << QStringList{"Lodrin", "-style", "fusion", "extra"} << 2 << ""
        << "Lodrin: argumento de más «extra»\nPruebe «Lodrin --help» para más información.\n";
    QTest::newRow("opción de un guion desconocida del visor")
        << QStringList{"Vistel", "-x"} << 2 << ""
        << "Vistel: opción desconocida «-x»\nPruebe «Vistel --help» para más información.\n";
    QTest::newRow("argumento de más del visor")
        << QStringList{"Vistel", "a", "b"} << 2 << ""
        << "Vistel: argumento de más «b»\nPruebe «Vistel --help» para más información.\n";
}

// Printed and ended without a window: there is no display to open one on.
void TestInstalacion::lineaDeOrdenes()
{
    QFETCH(QStringList, orden);
    QFETCH(int, estado);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        entorno.remove(v);
    orden[0] = prefijo_ + "/bin/" + orden[0];
    const Salida s = Ejecuta(orden, entorno);
    QCOMPARE(s.estado, estado);
    QVERIFY2(out.isEmpty() ? s.out.isEmpty() : s.out.startsWith(out), qPrintable(s.out));
    QCOMPARE(s.err, err);
}

void TestInstalacion::carpetaDelCatalogo_data()
{
    QTest::addColumn<bool>("escribible");
    QTest::addColumn<QString>("alLado");     // a file already beside the program
    QTest::addColumn<bool>("enDatos");        // where the catalogue is expected
    QTest::newRow("carpeta propia") << true << "" << false;
    QTest::newRow("carpeta de solo lectura") << false << "" << true;
    QTest::newRow("solo lectura con su catálogo") << false << "anterior.mdb" << false;
    QTest::newRow("solo lectura con su lodrin.ini") << false << "lodrin.ini" << false;
}

void TestInstalacion::carpetaDelCatalogo()
{
    QFETCH(bool, escribible);
    QFETCH(QString, alLado);
    QFETCH(bool, enDatos);
    const QString caso = raiz_.filePath(QTest::currentDataTag());
    const QString bin = caso + "/bin", datos = caso + "/datos";
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(datos));
    QVERIFY(QFile::copy(prefijo_ + "/bin/Lodrin", bin + "/Lodrin"));
    if (!alLado.isEmpty())
        EscribeFichero(bin + "/" + alLado, "");
    for (const QString& c : {caso, datos})
        Abre(c);
    if (escribible)
        Abre(bin);
    else
        QFile::setPermissions(bin, QFileDevice::Permissions(0x5555));
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("XDG_DATA_HOME", datos);
    entorno.insert("HOME", caso);
    entorno.insert("QT_QPA_PLATFORM", "offscreen");
    const QString esperada = enDatos ? datos + "/Lodrin" : bin;
    const QString otra = enDatos ? bin : datos + "/Lodrin";

    const Salida ayuda = Ejecuta(ComoUsuario(bin + "/Lodrin", {"--help"}), entorno);
    QVERIFY2(ayuda.out.endsWith("\nCarpeta del catálogo: " + esperada + "\n"), qPrintable(ayuda.out));
    if (!alLado.isEmpty())
        return;   // a file that stands for a catalogue is not one to open

    // Started for real, the window makes its catalogue there and nowhere else.
    QProcess lodrin;
    PreparaProceso(lodrin, ComoUsuario(bin + "/Lodrin", {}), entorno);
    lodrin.start();
    QTRY_VERIFY_WITH_TIMEOUT(EsCatalogo(esperada + "/anterior.mdb") || lodrin.state() == QProcess::NotRunning, 30000);
    const bool seguia = lodrin.state() == QProcess::Running;
    lodrin.kill();
    lodrin.waitForFinished();
    QVERIFY2(seguia, lodrin.readAllStandardError().constData());
    QVERIFY(EsCatalogo(esperada + "/anterior.mdb"));
    QVERIFY(!QFileInfo::exists(otra + "/anterior.mdb"));
}

void TestInstalacion::carpetaDelVisor_data()
{
    QTest::addColumn<QStringList>("argumentos");   // "CD" stands for a folder holding autorun.dat
    QTest::addColumn<bool>("autorunAlLado");
    QTest::addColumn<bool>("hayAQuienPreguntar");
    QTest::addColumn<QString>("respuesta");
    QTest::addColumn<QString>("carpeta");          // "CD", "PROGRAMA" or empty
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("preguntas");
    QTest::newRow("carpeta dada") << QStringList{"CD"} << false << true << "" << "CD" << "" << 0;
    QTest::newRow("fichero dado") << QStringList{"CD/autorun.dat"} << true << true << "" << "CD" << "" << 0;
    QTest::newRow("carpeta sin autorun") << QStringList{"VACIA"} << false << true << "" << ""
                                         << "Vistel: no hay autorun.dat en «VACIA»\n" << 0;
    QTest::newRow("otro fichero dado") << QStringList{"CD/otro.txt"} << false << true << "" << ""
                                       << "Vistel: no hay autorun.dat en «CD/otro.txt»\n" << 0;
    QTest::newRow("el del CD") << QStringList{} << true << true << "" << "PROGRAMA" << "" << 0;
    QTest::newRow("elegido en el diálogo") << QStringList{} << false << true << "CD/autorun.dat" << "CD" << "" << 1;
    QTest::newRow("diálogo cancelado") << QStringList{} << false << true << "" << "" << "" << 1;
    QTest::newRow("autorun.dat en bucle de enlaces")
        << QStringList{"BUCLE"} << false << true << "" << ""
        << "Vistel: no se puede leer «BUCLE/autorun.dat»: la ruta tiene demasiados enlaces simbólicos\n" << 0;
    QTest::newRow("nadie a quien preguntar") << QStringList{} << false << false << "" << "PROGRAMA" << "" << 0;
}

void TestInstalacion::carpetaDelVisor()
{
    QFETCH(QStringList, argumentos);
    QFETCH(bool, autorunAlLado);
    QFETCH(bool, hayAQuienPreguntar);
    QFETCH(QString, respuesta);
    QFETCH(QString, carpeta);
    QFETCH(QString, error);
    QFETCH(int, preguntas);
    QTemporaryDir d;
    const QString cd = d.filePath("cd"), programa = d.filePath("programa");
    EscribeFichero(cd + "/autorun.dat", "[label]\nAna\nHits\n");
    EscribeFichero(cd + "/otro.txt", "");
    QDir().mkpath(programa);
    QDir().mkpath(d.filePath("vacia"));
    QDir().mkpath(d.filePath("bucle"));
    QFile::link(d.filePath("bucle/autorun.dat"), d.filePath("bucle/autorun.dat"));
    if (autorunAlLado)
        EscribeFichero(programa + "/autorun.dat", "");
    const auto ruta = [&](QString t) {
        return t.replace("CD", cd).replace("VACIA", d.filePath("vacia")).replace("PROGRAMA", programa).replace(
            "BUCLE", d.filePath("bucle"));
    };
    for (QString& a : argumentos)
        a = ruta(a);
    PreguntaGuionada pregunta;
    pregunta.respuesta = ruta(respuesta);
    const CarpetaVisor elegida = EligeCarpetaVisor(argumentos, programa, hayAQuienPreguntar ? &pregunta : nullptr);
    QCOMPARE(elegida.carpeta, ruta(carpeta));
    QCOMPARE(elegida.error, ruta(error));
    QCOMPARE(pregunta.preguntas, preguntas);
}

QTEST_GUILESS_MAIN(TestInstalacion)
#include "test_instalacion.moc"
