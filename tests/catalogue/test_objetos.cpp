// Pictures attached to discs: rows in tlobjetos and copies in the images folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QtTest>
#include <cstdio>

#include "catalogue/cdanalizado.h"
#include "catalogue/grabacion.h"
#include "catalogue/objetos.h"
#include "common/diario.h"
#include "common/lodrinerror.h"
#include "common/rutas.h"
#include "store/catalogo.h"
#include "support/motorprueba.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

using namespace Qt::StringLiterals;

namespace {

// The rows of CD n under base: three discs of one author, each with five
// songs and a cover whose bytes are this CD's own.
ListaTrabajo FilasDelCd(const QString& base, int n)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    for (int d = 0; d < 3; ++d) {
        const QString disco = u"Álbum del Ñandú %1-%2"_s.arg(n).arg(d);
        const QString carpeta = u"cd %1\\disco %2\\"_s.arg(n).arg(d);
        for (int k = 1; k <= 5; ++k) {
            const QString texto = carpeta + u"0%1 - Nana %1.mp3"_s.arg(k);
            const int i = l.Anade(texto, rutas::Nativa(base, texto), u"f"_s, u"mp3"_s);
            for (const auto& [c, v] : {std::pair{columna::kAutor, u"Coro Añil"_s}, {columna::kDisco, disco},
                                       {columna::kCancion, u"Nana %1"_s.arg(k)}, {columna::kPosicion, u"%1"_s.arg(k)},
                                       {columna::kMascara, u"a\\d\\p-c"_s}})
                l.PonSubItem(i, c, v);
        }
        const QString texto = carpeta + u"portada.jpg"_s;
        const int i = l.Anade(texto, rutas::Nativa(base, texto), u"p"_s, u"img"_s);
        l.PonSubItem(i, columna::kAutor, u"Coro Añil"_s);
        l.PonSubItem(i, columna::kDisco, disco);
        for (int k = columna::kCancion; k <= columna::kMascara; ++k)
            l.PonSubItem(i, k, QString());
    }
    return l;
}

// Puts CD n's files under base: a tone for every song, a cover of its own.
void CreaCd(const QString& base, int n, const QString& tono)
{
    const ListaTrabajo l = FilasDelCd(base, n);
    for (int i = 1; i <= l.Cuenta(); ++i) {
        const QString ruta = l.Fila(i).tag;
        QDir().mkpath(QFileInfo(ruta).absolutePath());
        if (l.Clase(i) == ClaseFila::Imagen)
            EscribeFichero(ruta, LeeFichero(CreaImagen(ruta)) + u"CD %1 %2"_s.arg(n).arg(i).toUtf8());
        else
            QFile::copy(tono, ruta);
    }
}

DatosGrabacion DatosDelCd(int n, const QString& dirPrograma)
{
    return {u"CD %1"_s.arg(n), u"%1"_s.arg(1000 + n), true, dirPrograma};
}

}  // namespace

class TestObjetos : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void grabaYEncuentra();
    void siguienteObjeto();
    void copiaExistente();
    void copiasDeGrabacionesMatadas();
    void grabacionesMatadasNoCambianPortadas();

private:
    qint64 graba(qint64 disco, const QString& ruta)
    {
        return GrabaObjeto(*bd, dirPrograma, u"d"_s, disco, ruta, rutas.value(ruta), true, {}, Diario::NuevoToken());
    }
    QString imagen(const QString& ruta)
    {
        rutas[ruta] = CreaImagen(dir->filePath(u"cd/"_s + QString(ruta).replace('\\', '/')));
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
    dirPrograma = dir->filePath(u"prog"_s);
    QDir().mkpath(dirPrograma);
    bd = new Catalogo(CatalogoDePrueba(dirPrograma), u"objetos%1"_s.arg(++conexiones));
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
    imagen(u"Dover\\Portada.JPG"_s);
    imagen(u"Dover\\l'interior.gif"_s);
    QCOMPARE(GrabaObjeto(*bd, dirPrograma, u"d"_s, 4, QString(), QString(), false), qint64(0));
    QVERIFY(!QFileInfo::exists(CarpetaImagenes(dirPrograma)));

    const qint64 a = graba(4, u"Dover\\Portada.JPG"_s);
    const qint64 b = graba(4, u"Dover\\l'interior.gif"_s);
    QVERIFY(a > 0 && b > a);
    QCOMPARE(Ficheros(CarpetaImagenes(dirPrograma)), QStringList({u"%1.jpg"_s.arg(a), u"%1.gif"_s.arg(b)}));
    QCOMPARE(CuentaFilas(*bd, u"tlobjetos"_s,
                         QStringLiteral("dspath = 'Dover\\l''interior.gif' and "
                                        "dstabla = 'd' and idtabla = 4")),
             qint64(1));

    // Found again by owner and path, without a second row or copy.
    EscribeFichero(CopiaExistente(dirPrograma, a), "marca");
    QCOMPARE(graba(4, u"Dover\\Portada.JPG"_s), a);
    QCOMPARE(graba(4, u"Dover\\l'interior.gif"_s), b);
    QCOMPARE(CuentaFilas(*bd, u"tlobjetos"_s), qint64(2));
    QCOMPARE(LeeFichero(CopiaExistente(dirPrograma, a)), QByteArray("marca"));

    // Without crear: the owner's first picture recorded, or none.
    QCOMPARE(GrabaObjeto(*bd, dirPrograma, u"d"_s, 4, QString(), QString(), false), a);
    QCOMPARE(GrabaObjeto(*bd, dirPrograma, u"d"_s, 5, QString(), QString(), false), qint64(0));
    QCOMPARE(CuentaFilas(*bd, u"tlobjetos"_s), qint64(2));
}

void TestObjetos::siguienteObjeto()
{
    for (const char* r : {"uno.jpg", "dos.jpg", "tres.jpg"}) imagen(QString::fromLatin1(r));
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 1, 0), qint64(0));

    const qint64 sola = graba(1, u"uno.jpg"_s);
    const qint64 cinco = graba(2, u"dos.jpg"_s);
    graba(3, u"uno.jpg"_s);
    const qint64 nueve = graba(2, u"tres.jpg"_s);
    QVERIFY(cinco < nueve);

    // One picture: nothing else to show.
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 1, sola), qint64(0));
    // Two pictures go round in order of id.
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 2, cinco), nueve);
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 2, nueve), cinco);
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 2, nueve + 100), cinco);
    // An owner that is not a disc with pictures.
    QCOMPARE(DameSiguienteObjeto(*bd, u"d"_s, 0, cinco), qint64(0));
}

void TestObjetos::copiaExistente()
{
    const QString carpeta = CarpetaImagenes(dirPrograma);
    QCOMPARE(CopiaExistente(dirPrograma, 7), QString());
    EscribeFichero(QDir(carpeta).filePath(u"7.jpg.tmp"_s), "a medias");
    EscribeFichero(QDir(carpeta).filePath(u"77.jpg"_s), "otra");
    QCOMPARE(CopiaExistente(dirPrograma, 7), QString());
    // A copy in the case of its source's extension is found as well.
    EscribeFichero(QDir(carpeta).filePath(u"7.JPG"_s), "vieja");
    QCOMPARE(CopiaExistente(dirPrograma, 7), QDir(carpeta).filePath(u"7.JPG"_s));
    EscribeFichero(QDir(carpeta).filePath(u"8.Gif"_s), "vieja");
    QCOMPARE(CopiaExistente(dirPrograma, 8), QDir(carpeta).filePath(u"8.Gif"_s));
    QCOMPARE(NombreCopia(12, u"A\\FRONT.JPG"_s), u"12.jpg"_s);
    QCOMPARE(NombreCopia(3, u"b.Gif"_s), u"3.gif"_s);
}

// A killed recording leaves copies waiting under its token; the next
// writing opening names those of a recording that committed (its token is
// its CD's) and removes everything else no row names. A new copy of an id
// replaces any other extension's.
void TestObjetos::copiasDeGrabacionesMatadas()
{
    const QString carpeta = CarpetaImagenes(dirPrograma);
    imagen(u"a.jpg"_s);
    imagen(u"b.gif"_s);
    const qint64 a = graba(1, u"a.jpg"_s);
    EscribeFichero(QDir(carpeta).filePath(u"%1.JPG"_s.arg(a + 1)), "de un CD matado");
    const qint64 b = graba(2, u"b.gif"_s);
    QCOMPARE(b, a + 1);
    QCOMPARE(Ficheros(carpeta), QStringList({u"%1.jpg"_s.arg(a), u"%1.gif"_s.arg(b)}));

    const QString muerto = u"2147483646-%1"_s;  // no process has that id
    const QString confirmado = muerto.arg(QString(32, u'a')), deshecho = muerto.arg(QString(32, u'b'));
    const QString vivo = Diario::NuevoToken();
    bd->Ejecuta(u"insert into tlcd (dscd, dscd_clave, dstoken) values ('CD', 'CD', ?)"_s, {confirmado});
    for (const QString& f : {u"99.jpg"_s, Diario::NombreEnEspera(u"%1.gif"_s.arg(a), confirmado),
                             Diario::NombreEnEspera(u"%1.jpg"_s.arg(b), deshecho),
                             Diario::NombreEnEspera(u"97.jpg"_s, vivo), u"%1.jpg.4242.nuevo"_s.arg(b), u"5.jpg.tmp"_s,
                             u"%1.jpg.tmp"_s.arg(a)})
        EscribeFichero(QDir(carpeta).filePath(f), "x");
    OrdenaCopias(*bd, dirPrograma);
    QCOMPARE(Ficheros(carpeta),
             QStringList({u"%1.gif"_s.arg(a), u"%1.gif"_s.arg(b), Diario::NombreEnEspera(u"97.jpg"_s, vivo)}));
    QCOMPARE(LeeFichero(QDir(carpeta).filePath(u"%1.gif"_s.arg(a))), QByteArray("x"));
}

// Recordings killed at many points, each followed by another CD: every CD
// shows its own covers, and no file is left that no CD names.
void TestObjetos::grabacionesMatadasNoCambianPortadas()
{
    const QString base = dir->filePath(u"cds"_s);
    const QString tono = CreaMp3(dir->filePath(u"tono.mp3"_s), 1);
    const QString carpeta = CarpetaImagenes(dirPrograma);
    int matados = 0;
    for (int k = 0; k < 100; ++k) {
        CreaCd(base, 2 * k, tono);
        CreaCd(base, 2 * k + 1, tono);
        const int copias = Ficheros(carpeta).filter(u".jpg"_s).size();
        // A third die at a moment of their run, a third once a copy waits,
        // a third once the first copy of a committed recording took its name.
        matados += MataHijo({u"--graba"_s, dirPrograma, base, QString::number(2 * k)}, [&](qint64 ms) {
            const QStringList hay = Ficheros(carpeta);
            switch (k % 3) {
            case 0: return ms >= k % 10 * 4;
            case 1: return !hay.filter(u".nuevo"_s).isEmpty();
            default: return hay.filter(QRegularExpression(u"^\\d+\\.jpg$"_s)).size() > copias;
            }
        });
        // A program that stayed open records the next CD, taking the ids a
        // rollback freed; then a program starts and opens the catalogue.
        GrabaCD(*bd, FilasDelCd(base, 2 * k + 1), DatosDelCd(2 * k + 1, dirPrograma));
        Catalogo abierto(UbicacionCatalogo::DeCarpeta(dirPrograma), u"matado%1"_s.arg(k));
        abierto.AbreBaseDatos();
        OrdenaCopias(abierto, dirPrograma);
        QStringList nombradas;
        Consulta r = abierto.Abre(u"select idobjeto, dspath from tlobjetos"_s);
        for (; !r.Fin(); r.Siguiente()) {
            const qint64 id = r.Entero(u"idobjeto"_s);
            QCOMPARE(LeeFichero(CopiaImagen(abierto, dirPrograma, id)),
                     LeeFichero(rutas::Nativa(base, r.Texto(u"dspath"_s))));
            nombradas << NombreCopia(id, r.Texto(u"dspath"_s));
        }
        nombradas.sort();
        QStringList hay = Ficheros(carpeta);
        hay.sort();
        QCOMPARE(hay, nombradas);
    }
    QVERIFY(matados > 0);
}

int main(int argc, char** argv)
{
    // A recording of CD n in a child, killed by the test at some point.
    if (argc == 5 && qstrcmp(argv[1], "--graba") == 0) {
        QCoreApplication app(argc, argv);
        const QString dirPrograma = QString::fromLocal8Bit(argv[2]);
        const int n = QString::fromLatin1(argv[4]).toInt();
        Catalogo bd(UbicacionCatalogo::DeCarpeta(dirPrograma), u"hijo"_s);
        bd.AbreBaseDatos();
        const ListaTrabajo l = FilasDelCd(QString::fromLocal8Bit(argv[3]), n);
        std::puts("empieza");
        std::fflush(stdout);
        GrabaCD(bd, l, DatosDelCd(n, dirPrograma));
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestObjetos t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_objetos.moc"
