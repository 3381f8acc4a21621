// Classifying paths, expanding folders into the work list, drops and "Busca",
// on real folders in a temporary directory.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "common/lodrinerror.h"
#include "main_window/exploracion.h"
#include "main_window/listatrabajo.h"
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
    void clasificaPorExtensionYCarpeta();
    void expandeAnchuraPrimeroConTextosRelativos();
    void dosRaicesDeCarpetasDistintas();
    void buscaDosVecesNoAnadeNada();
    void dejaFueraOcultosEnlacesACarpetaYBarras();
    void carpetaDesaparecidaEsUnError();
    void raizVaciaQuedaSola();
    void soltarCarpetasYFicheros();
    void soltarDosVecesNoRepite();
};

void TestExploracion::clasificaPorExtensionYCarpeta()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    const struct {
        const char* nombre;
        const char* tipo;
        const char* icono;
    } casos[] = {
        {"track.mp3", "f", "mp3"},  {"TRACK.Mp2", "f", "mp3"},   {"clip.mpg", "f", "mp3"},
        {"cover.JPG", "p", "img"},  {"anim.gif", "p", "img"},    {"cover.jpeg", "", ""},
        {"notes.htm", "", ""},      {"letra.Txt", "c", "text"},  {"carta.doc", "c", "text"},
        {"list.m3u", "l", "list"},  {"audio.wav", "", ""},       {"mp3", "", ""},
        {"x.mp", "", ""},           {"x.mp3.bak", "", ""},
    };
    for (const auto& c : casos) {
        QString ruta = Toca(d + QLatin1String(c.nombre));
        const QString antes = ruta;
        const ClaseFichero k = TipoFichero(ruta, true);
        QCOMPARE(k.tipo, QLatin1String(c.tipo));
        QCOMPARE(k.icono, QLatin1String(c.icono));
        QCOMPARE(ruta, antes);  // a file's path is left as it is
    }

    // A folder named like an MP3 is a folder; it gains its separator.
    QDir().mkpath(d + "Disco.mp3");
    QString carpeta = d + "Disco.mp3";
    ClaseFichero k = TipoFichero(carpeta, true);
    QCOMPARE(k.tipo, QStringLiteral("D"));
    QCOMPARE(k.icono, QStringLiteral("cerrada"));
    QCOMPARE(carpeta, d + "Disco.mp3/");
    k = TipoFichero(carpeta, false);
    QCOMPARE(k.icono, QStringLiteral("abierta"));
    QCOMPARE(carpeta, d + "Disco.mp3/");  // no second separator

    // A path that names nothing is classified by its name alone.
    QString ausente = d + "no/existe.mp3";
    QCOMPARE(TipoFichero(ausente, true).tipo, QStringLiteral("f"));
}

void TestExploracion::expandeAnchuraPrimeroConTextosRelativos()
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
    QCOMPARE(l.Cuenta(), 8);
    QCOMPARE(filas[0], QString("|" + cd + "|#|abierta"));
    QVERIFY(filas.contains("A\\||#|abierta"));
    QVERIFY(filas.contains("A\\B\\||#|abierta"));
    QVERIFY(filas.contains("A\\B\\C\\||#|abierta"));
    QVERIFY(filas.contains("A\\01 uno.mp3|" + cd + "A/01 uno.mp3|f|mp3"));
    QVERIFY(filas.contains("A\\B\\02 dos.mp3|" + cd + "A/B/02 dos.mp3|f|mp3"));
    QVERIFY(filas.contains("A\\B\\C\\tapa.jpg|" + cd + "A/B/C/tapa.jpg|p|img"));
    QVERIFY(filas.contains("suelto.m3u|" + cd + "suelto.m3u|l|list"));

    // Breadth first: each level comes after the whole level above it.
    QVERIFY(IndiceDe(l, "A\\") < IndiceDe(l, "A\\01 uno.mp3"));
    QVERIFY(IndiceDe(l, "suelto.m3u") < IndiceDe(l, "A\\B\\"));
    QVERIFY(IndiceDe(l, "A\\01 uno.mp3") < IndiceDe(l, "A\\B\\02 dos.mp3"));
    QVERIFY(IndiceDe(l, "A\\B\\02 dos.mp3") < IndiceDe(l, "A\\B\\C\\tapa.jpg"));
    // Invariant: a file's tag is its base followed by its text.
    for (int i = 1; i <= l.Cuenta(); ++i)
        if (!l.Fila(i).tag.isEmpty() && l.Tipo(i) != "#")
            QCOMPARE(l.Fila(i).tag, cd + QString(l.Fila(i).texto).replace('\\', '/'));
    QVERIFY(QFile::exists(l.Fila(IndiceDe(l, "A\\B\\02 dos.mp3")).tag));
    QVERIFY(!l.Ordenada());  // rows stay in the order they were found
}

void TestExploracion::dosRaicesDeCarpetasDistintas()
{
    QTemporaryDir dir;
    const QString musica = dir.path() + "/Musica/";
    const QString otros = dir.path() + "/Otros/Viejos/";
    Toca(musica + "Rock/Live/01 Intro.mp3");
    Toca(otros + "Jazz/Club/Noche/03 Tarde.mp3");
    Toca(otros + "Jazz/portada.gif");

    ListaTrabajo l;
    QCOMPARE(AnadeSoltadas(l, {musica + "Rock", otros + "Jazz"}), 2);
    Busca(l);

    QVERIFY(l.Ordenada());
    QStringList textos;
    for (int i = 1; i <= l.Cuenta(); ++i)
        textos << l.Fila(i).texto;
    QStringList ordenados = textos;
    std::sort(ordenados.begin(), ordenados.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QCOMPARE(textos, ordenados);

    const int intro = IndiceDe(l, "Rock\\Live\\01 Intro.mp3");
    const int tarde = IndiceDe(l, "Jazz\\Club\\Noche\\03 Tarde.mp3");
    QVERIFY(intro > 0 && tarde > 0);
    QCOMPARE(l.Fila(intro).tag, musica + "Rock/Live/01 Intro.mp3");
    QCOMPARE(l.Fila(tarde).tag, otros + "Jazz/Club/Noche/03 Tarde.mp3");
    QCOMPARE(l.Fila(IndiceDe(l, "Jazz\\portada.gif")).tag, otros + "Jazz/portada.gif");
    for (const char* carpeta : {"Rock\\", "Rock\\Live\\", "Jazz\\", "Jazz\\Club\\", "Jazz\\Club\\Noche\\"})
        QCOMPARE(l.Tipo(IndiceDe(l, carpeta)), QStringLiteral("#"));
    QCOMPARE(l.Fila(IndiceDe(l, "Rock\\")).tag, musica);
    QCOMPARE(l.Fila(IndiceDe(l, "Jazz\\Club\\")).tag, QString());
}

void TestExploracion::buscaDosVecesNoAnadeNada()
{
    QTemporaryDir dir;
    Toca(dir.path() + "/R/a/1.mp3");
    Toca(dir.path() + "/R/b/2.mp3");
    ListaTrabajo l;
    AnadeSoltadas(l, {dir.path() + "/R"});
    Busca(l);
    const QStringList primera = Filas(l);
    QCOMPARE(primera.size(), 5);
    Busca(l);
    QCOMPARE(Filas(l), primera);

    // A folder dropped later is the only one listed by the next run.
    Toca(dir.path() + "/S/3.mp3");
    AnadeSoltadas(l, {dir.path() + "/S"});
    Busca(l);
    QCOMPARE(l.Cuenta(), 7);
    for (const QString& f : primera)
        QVERIFY(Filas(l).contains(f));
}

void TestExploracion::dejaFueraOcultosEnlacesACarpetaYBarras()
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
    textos.sort();
    QCOMPARE(textos, QStringList({"R\\", "R\\AC\\DC - rayo.mp3", "R\\enlace.mp3", "R\\sub\\", "R\\sub\\1.mp3"}));
    // A file whose name holds a '\' keeps its real path in the tag.
    QVERIFY(QFile::exists(l.Fila(IndiceDe(l, "R\\AC\\DC - rayo.mp3")).tag));
}

void TestExploracion::carpetaDesaparecidaEsUnError()
{
    QTemporaryDir dir;
    Toca(dir.path() + "/R/x/1.mp3");
    ListaTrabajo l;
    AnadeSoltadas(l, {dir.path() + "/R"});
    QVERIFY(QDir(dir.path() + "/R").removeRecursively());
    // A disc taken out half way must not look like a complete, smaller one.
    QVERIFY_THROWS_EXCEPTION(LodrinError, Busca(l));
}

void TestExploracion::raizVaciaQuedaSola()
{
    QTemporaryDir dir;
    const QString cd = dir.path() + "/cd/";
    Toca(cd + "notas.htm");
    QDir().mkpath(cd + ".oculta");
    ListaTrabajo l;
    QString raiz = cd;
    const ClaseFichero k = TipoFichero(raiz, true);
    l.Anade(QString(), raiz, k.tipo, k.icono);
    Busca(l);
    QCOMPARE(Filas(l), QStringList({"|" + cd + "|#|abierta"}));
}

void TestExploracion::soltarCarpetasYFicheros()
{
    QTemporaryDir dir;
    const QString m = dir.path() + "/Musica/";
    Toca(m + "Rock/x.mp3");
    Toca(m + "01 Intro.mp3");
    Toca(m + "sonido.wav");
    Toca(m + "Tapa.GIF");

    ListaTrabajo l;
    const int n = AnadeSoltadas(l, {m + "Rock/", m + "01 Intro.mp3", m + "sonido.wav", m + "Tapa.GIF",
                                     m + "ya no esta.mp3", "/"});
    QCOMPARE(n, 4);
    QCOMPARE(Filas(l), QStringList({"|/|D|cerrada", "01 Intro.mp3|" + m + "01 Intro.mp3|f|mp3",
                                    "Rock\\|" + m + "|D|cerrada", "Tapa.GIF|" + m + "Tapa.GIF|p|img"}));
    for (int i = 1; i <= l.Cuenta(); ++i)
        QCOMPARE(l.CuentaSubItems(i), 1);

    // Nothing of the listed types: nothing added.
    ListaTrabajo vacia;
    QCOMPARE(AnadeSoltadas(vacia, {m + "sonido.wav"}), 0);
    QCOMPARE(vacia.Cuenta(), 0);
}

void TestExploracion::soltarDosVecesNoRepite()
{
    QTemporaryDir dir;
    const QString m = dir.path() + "/Musica/";
    const QString o = dir.path() + "/Otra/";
    Toca(m + "Rock/x.mp3");
    Toca(o + "Rock/y.mp3");
    Toca(m + "01 Intro.mp3");

    ListaTrabajo l;
    AnadeSoltadas(l, {m + "Rock", m + "01 Intro.mp3"});
    QCOMPARE(AnadeSoltadas(l, {m + "Rock/", m + "01 Intro.mp3", m + "Rock"}), 0);
    // Same name, other parent: a different folder, so it is added.
    QCOMPARE(AnadeSoltadas(l, {o + "Rock"}), 1);
    QCOMPARE(l.Cuenta(), 3);

    // Once expanded, the folder is still the same root, and its file is in.
    Busca(l);
    const int antes = l.Cuenta();
    QCOMPARE(AnadeSoltadas(l, {m + "Rock", m + "Rock/x.mp3"}), 0);
    QCOMPARE(l.Cuenta(), antes);

    // A CD root row counts as its mount folder.
    ListaTrabajo cd;
    cd.Anade(QString(), m, "D", "cerrada");
    QCOMPARE(AnadeSoltadas(cd, {dir.path() + "/Musica"}), 0);
}

QTEST_GUILESS_MAIN(TestExploracion)
#include "test_exploracion.moc"
