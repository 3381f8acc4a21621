// Classifying paths, expanding folders into the work list, drops and "Busca",
// on real folders in a temporary directory.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "common/lodrinerror.h"
#include "exploring/exploracion.h"
#include "support/testsupport.h"

namespace {
QString Toca(const QString& ruta) { return EscribeFichero(ruta, "x"); }

// Rows as "text|tag|kind|picture", in list order.
QStringList Filas(const ListaTrabajo& l)
{
    QStringList r;
    for (int i = 1; i <= l.Cuenta(); ++i)
        r << QStringLiteral("%1|%2|%3|%4").arg(l.Fila(i).texto, l.Fila(i).tag, l.Tipo(i), l.Fila(i).icono);
    return r;
}

int IndiceDe(const ListaTrabajo& l, const QString& texto)
{
    for (int i = 1; i <= l.Cuenta(); ++i)
        if (l.Fila(i).texto == texto)
            return i;
    return 0;
}
}  // namespace

class TestExploracion : public QObject {
    Q_OBJECT
private slots:
    void clasificacion();
    void expansionAnchuraPrimero();
    void dosRaicesYBuscaDosVeces();
    void entradasQueQuedanFuera();
    void soltar();
};

void TestExploracion::clasificacion()
{
    QTemporaryDir dir;
    const QString d = dir.path() + "/";
    const QList<QStringList> casos = {
        {"track.mp3", "f", "mp3"}, {"TRACK.Mp2", "f", "mp3"}, {"clip.mpg", "f", "mp3"}, {"cover.JPG", "p", "img"},
        {"a.gif", "p", "img"},     {"cover.jpeg", "", ""},    {"notes.htm", "", ""},    {"letra.Txt", "c", "text"},
        {"c.doc", "c", "text"},    {"list.m3u", "l", "list"}, {"mp3", "", ""},          {"x.mp3.bak", "", ""}};
    for (const QStringList& c : casos) {
        QString ruta = Toca(d + c[0]);
        const ClaseFichero k = TipoFichero(ruta, true);
        QCOMPARE(QStringList({k.tipo, k.icono}), c.mid(1));
        QCOMPARE(ruta, d + c[0]);  // a file's path is left as it is
    }
    // A folder named like an MP3 is a folder and gains its separator, once.
    QDir().mkpath(d + "Disco.mp3");
    QString carpeta = d + "Disco.mp3";
    QCOMPARE(TipoFichero(carpeta, true).icono, QStringLiteral("cerrada"));
    QCOMPARE(TipoFichero(carpeta, false).icono, QStringLiteral("abierta"));
    QCOMPARE(carpeta, d + "Disco.mp3/");
}

void TestExploracion::expansionAnchuraPrimero()
{
    QTemporaryDir dir;
    const QString cd = dir.path() + "/cd/";
    Toca(cd + "A/B/02 dos.mp3");
    Toca(cd + "A/01 uno.mp3");
    Toca(cd + "A/B/C/tapa.jpg");
    Toca(cd + "suelto.m3u");
    Toca(cd + "A/B/nota.htm");

    ListaTrabajo l;
    l.PonOrdenada(false);
    l.Anade(QString(), cd, "D", "cerrada");
    SacarDirectorios(l);

    const QStringList filas = Filas(l);
    QCOMPARE(filas.size(), 8);
    QCOMPARE(filas[0], QString("|" + cd + "|#|abierta"));
    for (const char* f : {"A\\||#|abierta", "A\\B\\||#|abierta", "A\\B\\C\\||#|abierta"})
        QVERIFY2(filas.contains(f), f);
    QVERIFY(filas.contains("A\\B\\02 dos.mp3|" + cd + "A/B/02 dos.mp3|f|mp3"));
    QVERIFY(filas.contains("A\\B\\C\\tapa.jpg|" + cd + "A/B/C/tapa.jpg|p|img"));
    // Each level comes after the whole level above it.
    QVERIFY(IndiceDe(l, "suelto.m3u") < IndiceDe(l, "A\\B\\"));
    QVERIFY(IndiceDe(l, "A\\01 uno.mp3") < IndiceDe(l, "A\\B\\02 dos.mp3"));
    QVERIFY(IndiceDe(l, "A\\B\\02 dos.mp3") < IndiceDe(l, "A\\B\\C\\tapa.jpg"));
    for (int i = 2; i <= l.Cuenta(); ++i)  // a file's tag is its base and its text
        if (!l.Fila(i).tag.isEmpty())
            QCOMPARE(l.Fila(i).tag, cd + QString(l.Fila(i).texto).replace('\\', '/'));

    // A root holding nothing listed stays alone, expanded.
    QTemporaryDir vacio;
    Toca(vacio.path() + "/notas.htm");
    ListaTrabajo sola;
    sola.Anade(QString(), vacio.path() + "/", "D", "cerrada");
    Busca(sola);
    QCOMPARE(Filas(sola), QStringList({"|" + vacio.path() + "/|#|abierta"}));

    // A disc taken out half way must not look like a complete, smaller one:
    // the folder is named for the person to be told.
    QVERIFY(QDir(vacio.path()).removeRecursively());
    sola.PonSubItem(1, 1, "D");
    QCOMPARE(Busca(sola), QStringList{vacio.path() + "/"});
    QCOMPARE(Filas(sola), QStringList({"|" + vacio.path() + "/|#|abierta"}));
}

void TestExploracion::dosRaicesYBuscaDosVeces()
{
    QTemporaryDir dir;
    const QString musica = dir.path() + "/Musica/";
    const QString otros = dir.path() + "/Otros/Viejos/";
    Toca(musica + "Rock/Live/01 Intro.mp3");
    Toca(otros + "Jazz/Club/Noche/03 Tarde.mp3");

    ListaTrabajo l;
    QCOMPARE(AnadeSoltadas(l, {musica + "Rock", otros + "Jazz"}), 2);
    Busca(l);
    QVERIFY(l.Ordenada());
    QCOMPARE(l.Fila(IndiceDe(l, "Rock\\Live\\01 Intro.mp3")).tag, musica + "Rock/Live/01 Intro.mp3");
    QCOMPARE(l.Fila(IndiceDe(l, "Jazz\\Club\\Noche\\03 Tarde.mp3")).tag, otros + "Jazz/Club/Noche/03 Tarde.mp3");
    QCOMPARE(l.Tipo(IndiceDe(l, "Jazz\\Club\\Noche\\")), QStringLiteral("#"));
    QCOMPARE(l.Cuenta(), 7);
    for (int i = 2; i <= l.Cuenta(); ++i)
        QVERIFY(l.Fila(i - 1).texto.compare(l.Fila(i).texto, Qt::CaseInsensitive) <= 0);

    const QStringList primera = Filas(l);
    Busca(l);
    QCOMPARE(Filas(l), primera);
}

void TestExploracion::entradasQueQuedanFuera()
{
    QTemporaryDir dir;
    const QString r = dir.path() + "/R/";
    Toca(r + ".oculto.mp3");
    Toca(r + ".carpeta/dentro.mp3");
    Toca(r + "sub/1.mp3");
    Toca(r + "AC\\DC - rayo.mp3");
    Toca(r + "raro\\nombre/2.mp3");
    // A link back up the tree would never end.
    QVERIFY(QFile::link(r, r + "sub/vuelta"));
    QVERIFY(QFile::link(r + "sub/1.mp3", r + "enlace.mp3"));

    ListaTrabajo l;
    AnadeSoltadas(l, {dir.path() + "/R"});
    Busca(l);
    QStringList textos;
    for (int i = 1; i <= l.Cuenta(); ++i)
        textos << l.Fila(i).texto;
    QCOMPARE(textos, QStringList({"R\\", "R\\AC\\DC - rayo.mp3", "R\\enlace.mp3", "R\\sub\\", "R\\sub\\1.mp3"}));
    QVERIFY(QFile::exists(l.Fila(2).tag));  // the real path, '\' and all
}

void TestExploracion::soltar()
{
    QTemporaryDir dir;
    const QString m = dir.path() + "/Musica/";
    Toca(m + "Rock/x.mp3");
    Toca(dir.path() + "/Otra/Rock/y.mp3");
    Toca(m + "01 Intro.mp3");
    Toca(m + "sonido.wav");

    ListaTrabajo l;
    QStringList desaparecidas;
    QCOMPARE(AnadeSoltadas(l, {m + "Rock/", m + "01 Intro.mp3", m + "sonido.wav", m + "ya no esta.mp3", "/"},
                           &desaparecidas), 3);
    QCOMPARE(desaparecidas, QStringList{m + "ya no esta.mp3"});
    QCOMPARE(Filas(l), QStringList({"|/|D|cerrada", "01 Intro.mp3|" + m + "01 Intro.mp3|f|mp3",
                                    "Rock\\|" + m + "|D|cerrada"}));
    QCOMPARE(l.CuentaSubItems(3), 1);

    // Dropped again, or found by expansion: not repeated. Same name in
    // another folder: another root.
    l.Quita(1);
    QCOMPARE(AnadeSoltadas(l, {m + "Rock", m + "01 Intro.mp3"}), 0);
    QCOMPARE(AnadeSoltadas(l, {dir.path() + "/Otra/Rock"}), 1);
    Busca(l);
    QCOMPARE(AnadeSoltadas(l, {m + "Rock", m + "Rock/x.mp3"}), 0);
    ListaTrabajo cd;
    cd.Anade(QString(), m, "D", "cerrada");
    QCOMPARE(AnadeSoltadas(cd, {dir.path() + "/Musica"}), 0);
}

QTEST_GUILESS_MAIN(TestExploracion)
#include "test_exploracion.moc"
