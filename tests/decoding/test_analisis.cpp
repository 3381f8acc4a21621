// The analysis of the work list: decoding every MP3 row, summing up folders,
// various-artists folders, pictures, F3 runs and a choice given up; the tags
// the files carry as one more candidate, and their covers.
#include <QTemporaryDir>
#include <QtTest>

#include "decoding/analisis.h"
#include "decoding/decodificador.h"
#include "autorun/arbol.h"
#include "autorun/escribeautorun.h"
#include "catalogue/grabacion.h"
#include "catalogue/objetos.h"
#include "decoding/mascaras.h"
#include "store/catalogo.h"
#include "support/electorguionado.h"
#include "support/etiquetasprueba.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "worklist/listatrabajo.h"

namespace {

struct Banco {
    QTemporaryDir dir;
    Catalogo bd;
    ListaMascaras mascaras;
    ElectorGuionado elector;
    ContextoDecodificacion ctx{bd, mascaras, elector};
    ListaTrabajo lista;
    CamposLlevados campos;

    explicit Banco(const QString& conexion) : bd(dir.filePath("anterior.mdb"), conexion) { bd.AbreBaseDatos(); }

    // Rows by kind: a text ending in "\" is a folder, ".jpg" a picture.
    void Filas(const QStringList& textos)
    {
        for (const QString& t : textos) {
            const QString tipo = t.endsWith('\\') ? "#" : t.endsWith(".jpg") ? "p" : "f";
            lista.Anade(t, "/cd/" + t, tipo, tipo == "#" ? "abierta" : "mp3");
        }
    }
    int Fila(const QString& texto) const
    {
        for (int i = 1; i <= lista.Cuenta(); ++i)
            if (lista.Fila(i).texto == texto)
                return i;
        return 0;
    }
    // Kind, author, disc, song, position, mask of a row.
    QStringList Columnas(const QString& texto) const { return lista.Fila(Fila(texto)).subItems; }
    bool Analiza(bool solo = false) { return AnalizaLista(lista, campos, ctx, solo); }
};

const QStringList kDover{"Dover\\Devil come to me\\", "Dover\\Devil come to me\\01-Judas.mp3",
                         "Dover\\Devil come to me\\02-Intro.mp3", "Dover\\Devil come to me\\03-Fin.mp3"};
const QStringList kExitos{"Exitos 2000\\", "Exitos 2000\\Abba-Fernando.mp3", "Exitos 2000\\Dover-Judas.mp3",
                          "Exitos 2000\\Queen-Bohemian.mp3"};

}  // namespace

class TestAnalisis : public QObject {
    Q_OBJECT
    QTemporaryDir ficheros;
    QByteArray audio;

    // Real files under a folder of their own: "ruta|artista|album|titulo|pista"
    // (ID3v2.4 tags; a file without artist carries none), expanded folders
    // listed first as rows.
    void Ficheros(Banco& b, const QString& carpeta, const QStringList& specs, const QByteArray& portada = {})
    {
        const QString base = ficheros.filePath(carpeta) + '/';
        for (const QString& spec : specs) {
            const QStringList c = spec.split('|');
            const QString ruta = base + QString(c[0]).replace('\\', '/');
            if (c.size() < 2)
                EscribeFichero(ruta, audio);
            else
                CreaMp3Etiquetado(ruta, audio, ClaseEtiqueta::Id3v24,
                                  {c[1], c[2], "", c[3], c[4].toInt(), spec == specs.first() ? portada : QByteArray(), ""});
            const QString dir = c[0].left(c[0].lastIndexOf('\\') + 1);
            if (!b.Fila(dir))
                b.lista.Anade(dir, base + QString(dir).replace('\\', '/'), "#", "abierta");
            b.lista.Anade(c[0], ruta, "f", "mp3");
        }
    }

private slots:
    void initTestCase()
    {
        const QString ruta = CreaMp3(ficheros.filePath("fuente.mp3"), 0.5, {"-b", "64"});
        QVERIFY(!ruta.isEmpty());
        audio = LeeFichero(ruta);
    }
    void etiquetas_data();
    void etiquetas();
    void portadaDeLosFicheros();
    void resumenDeCarpeta();
    void variosArtistas();
    void discosYAutoresDistintos();
    void posicionVaciaEs00();
    void imagenesTomanSuCarpeta();
    void cancelarDetieneElRecorrido();
    void f3SoloSeleccionadas();
    void variosSeDecodificaComoFichero();
    void listaVaciaSoloCargaMascaras();
    void carpetaDeUnaCancion();
    void cancionesSeparadasPorUnaImagen();
};

void TestAnalisis::resumenDeCarpeta()
{
    Banco b("resumen");
    b.lista.PonOrdenada(false);  // the run sorts the rows itself
    b.Filas({kDover[3], "Otro\\01-Uno.mp3", kDover[1], "Otro\\", kDover[0], kDover[2]});
    b.elector.responde = [](const ElectorGuionado::Vista& v, bool&) {
        const int f = ElectorGuionado::FilaDe(v, "a\\d\\p-c");
        return f ? f : ElectorGuionado::FilaDe(v, "a\\c");
    };
    QVERIFY(b.Analiza());
    QVERIFY(b.lista.Ordenada());
    QCOMPARE(b.lista.Fila(1).texto, kDover[0]);
    QCOMPARE(b.elector.vistas.size(), 2);  // the first file of each folder
    QCOMPARE(b.Columnas(kDover[0]), (QStringList{"#", "Dover", "Devil come to me"}));
    QCOMPARE(b.Columnas(kDover[1]), (QStringList{"f", "Dover", "Devil come to me", "Judas", "01", "a\\d\\p-c"}));
    QCOMPARE(b.Columnas(kDover[3]), (QStringList{"f", "Dover", "Devil come to me", "Fin", "03", "a\\d\\p-c"}));
    // The next folder starts afresh: its first file is asked about.
    QCOMPARE(b.elector.vistas[1].ruta, QString("Otro\\01-Uno.mp3"));
    QCOMPARE(b.Columnas("Otro\\01-Uno.mp3"), (QStringList{"f", "Otro", "<vacio>", "01-Uno", "00", "a\\c"}));
    QCOMPARE(b.Columnas("Otro\\"), (QStringList{"#", "Otro", "<vacio>"}));
}

void TestAnalisis::variosArtistas()
{
    Banco b("varios");
    b.Filas(kExitos);
    b.Filas({"Final\\"});
    b.elector.responde = ElectorGuionado::Elige("d\\a-c", true);
    QVERIFY(b.Analiza());
    QCOMPARE(b.elector.vistas.size(), 1);
    QCOMPARE(b.Columnas(kExitos[0]), (QStringList{"#", "<Varios Artistas>", "Exitos 2000"}));
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(b.Columnas(kExitos[i]).value(0), QString("v"));
    QCOMPARE(b.Columnas(kExitos[2]), (QStringList{"v", "Dover", "Exitos 2000", "Judas", "00", "d\\a-c"}));
    // The empty folder after it is summed up with nothing.
    QCOMPARE(b.Columnas("Final\\"), (QStringList{"#", "", ""}));
}

void TestAnalisis::discosYAutoresDistintos()
{
    Banco b("distintos");
    b.Filas({"Mezcla\\", "Mezcla\\Uno\\Abba.mp3", "Mezcla\\Dos\\Dover.mp3"});
    b.lista.PonSubItem(1, columna::kAutor, "antes");
    b.elector.responde = [](const ElectorGuionado::Vista& v, bool&) {
        return ElectorGuionado::FilaDe(v, v.ruta.contains("Uno") ? "a\\d\\c" : "d\\c");
    };
    QVERIFY(b.Analiza());
    QCOMPARE(b.Columnas("Mezcla\\Dos\\Dover.mp3"), (QStringList{"f", "<vacio>", "Dos", "Dover", "00", "d\\c"}));
    QCOMPARE(b.Columnas("Mezcla\\"), (QStringList{"#", "", ""}));
    QCOMPARE(b.Columnas("Mezcla\\Uno\\Abba.mp3").value(0), QString("f"));
}

void TestAnalisis::posicionVaciaEs00()
{
    Banco b("cero");
    b.Filas({"Dover\\Devil come to me\\Judas.mp3"});
    b.elector.responde = ElectorGuionado::Elige("a\\d\\c");
    QVERIFY(b.Analiza());
    QCOMPARE(b.Columnas("Dover\\Devil come to me\\Judas.mp3").value(4), QString("00"));
    QCOMPARE(b.campos.posicion, QString("00"));
    QCOMPARE(b.campos.ruta, QString("a\\d\\c"));
}

void TestAnalisis::imagenesTomanSuCarpeta()
{
    Banco b("imagenes");
    b.Filas({"Dover\\", "Dover\\01-Judas.mp3", "Dover\\02-Intro.mp3", "Dover\\cover.jpg", "aaa.jpg"});
    b.lista.PonSubItem(b.Fila("Dover\\cover.jpg"), columna::kMascara, "vieja");
    b.elector.responde = ElectorGuionado::Elige("a\\c");
    QCOMPARE(b.lista.Fila(1).texto, QString("aaa.jpg"));
    QVERIFY(b.Analiza());
    QCOMPARE(b.Columnas("Dover\\"), (QStringList{"#", "Dover", "<vacio>"}));
    QCOMPARE(b.Columnas("Dover\\cover.jpg"), (QStringList{"p", "Dover", "<vacio>", "", "", ""}));
    // Met before any expanded folder: untouched.
    QCOMPARE(b.Columnas("aaa.jpg"), (QStringList{"p"}));
    QCOMPARE(b.campos.autor, QString("Dover"));
}

void TestAnalisis::cancelarDetieneElRecorrido()
{
    Banco b("cancelar");
    b.Filas(kDover);
    b.Filas({"Dover\\Devil come to me\\cover.jpg", "Zeta\\", "Zeta\\01-Uno.mp3", "Zeta\\02-Dos.mp3", "Zeta\\z.jpg"});
    b.lista.PonSubItem(b.Fila("Zeta\\02-Dos.mp3"), columna::kAutor, "viejo");
    b.elector.responde = [](const ElectorGuionado::Vista& v, bool&) {
        return v.ruta.startsWith("Zeta") ? 0 : ElectorGuionado::FilaDe(v, "a\\d\\p-c");
    };
    ParadaAnalisis parada;
    QVERIFY(AnalizaLista(b.lista, b.campos, b.ctx, false, false, &parada));
    QCOMPARE(parada.carpeta, 2);
    QCOMPARE(parada.carpetas, 2);
    QCOMPARE(b.Columnas(kDover[3]).value(3), QString("Fin"));
    QCOMPARE(b.Columnas(kDover[0]), (QStringList{"#", "Dover", "Devil come to me"}));
    QCOMPARE(b.Columnas("Zeta\\"), (QStringList{"#"}));
    QCOMPARE(b.Columnas("Zeta\\01-Uno.mp3"), (QStringList{"f"}));
    QCOMPARE(b.Columnas("Zeta\\02-Dos.mp3"), (QStringList{"f", "viejo"}));
    QCOMPARE(b.Columnas("Dover\\Devil come to me\\cover.jpg"), (QStringList{"p"}));
    QCOMPARE(b.elector.vistas.size(), 2);

    // Going on: the decoded folder is kept and not asked again; the rest is
    // decoded and the pictures get their folders.
    const QStringList dover = b.Columnas(kDover[1]);
    b.elector.vistas.clear();
    b.elector.responde = ElectorGuionado::Elige("a\\c");
    QVERIFY(AnalizaLista(b.lista, b.campos, b.ctx, false, true, &(parada = {})));
    QCOMPARE(parada.carpeta, 0);
    QCOMPARE(b.elector.vistas.value(0).ruta, QString("Zeta\\01-Uno.mp3"));
    QCOMPARE(b.Columnas(kDover[1]), dover);
    QCOMPARE(b.Columnas(kDover[0]), (QStringList{"#", "Dover", "Devil come to me"}));
    QCOMPARE(b.Columnas("Zeta\\01-Uno.mp3").value(1), QString("Zeta"));
    QCOMPARE(b.Columnas("Dover\\Devil come to me\\cover.jpg").value(1), QString("Dover"));
}

void TestAnalisis::f3SoloSeleccionadas()
{
    Banco b("f3");
    b.Filas(kDover);
    b.Filas({"Dover\\Devil come to me\\cover.jpg"});
    b.Filas(kExitos);
    b.Filas({"Exitos 2000\\cd.jpg"});
    b.elector.responde = [](const ElectorGuionado::Vista& v, bool& mismo) {
        mismo = true;
        return ElectorGuionado::FilaDe(v, v.ruta.startsWith("Exitos") ? "d\\a-c" : "a\\d\\p-c");
    };
    QVERIFY(b.Analiza());
    const QStringList exitos = b.Columnas(kExitos[0]);
    QCOMPARE(exitos.value(1), QString("<Varios Artistas>"));

    // Re-analyse one song of the first folder, now read without position.
    b.lista.Fila(b.Fila(kDover[2])).seleccionada = true;
    b.lista.PonSubItem(b.Fila(kDover[1]), columna::kCancion, "a mano");
    b.elector.responde = ElectorGuionado::Elige("a\\d\\x-c");
    QVERIFY(b.Analiza(true));
    QCOMPARE(b.elector.vistas.size(), 3);
    QCOMPARE(b.Columnas(kDover[2]), (QStringList{"f", "Dover", "Devil come to me", "Intro", "00", "a\\d\\x-c"}));
    QCOMPARE(b.Columnas(kDover[1]).value(3), QString("a mano"));  // not selected: untouched
    QCOMPARE(b.Columnas(kDover[0]), (QStringList{"#", "Dover", "Devil come to me"}));
    // The folder none of whose songs was selected keeps its summary, and so
    // do its pictures.
    QCOMPARE(b.Columnas(kExitos[0]), exitos);
    QCOMPARE(b.Columnas("Exitos 2000\\cd.jpg").mid(1, 2), (QStringList{"<Varios Artistas>", "Exitos 2000"}));
    QCOMPARE(b.Columnas("Dover\\Devil come to me\\cover.jpg").mid(1, 2), (QStringList{"Dover", "Devil come to me"}));
}

void TestAnalisis::variosSeDecodificaComoFichero()
{
    Banco b("variosotravez");
    b.Filas(kExitos);
    b.elector.responde = ElectorGuionado::Elige("d\\a-c", true);
    QVERIFY(b.Analiza());
    // A later run that finds one author does not give the rows back their "f".
    b.elector.vistas.clear();
    b.elector.responde = ElectorGuionado::Elige("d\\c", true);
    QVERIFY(b.Analiza());
    QCOMPARE(b.elector.vistas.size(), 1);
    QCOMPARE(b.Columnas(kExitos[2]), (QStringList{"v", "<vacio>", "Exitos 2000", "Dover-Judas", "00", "d\\c"}));
    QCOMPARE(b.Columnas(kExitos[0]), (QStringList{"#", "<vacio>", "Exitos 2000"}));
}

void TestAnalisis::listaVaciaSoloCargaMascaras()
{
    Banco b("vacia");
    b.mascaras.CargaMascaras(b.bd);
    b.mascaras.PonUltimaElegida("a\\c");
    b.campos = {"r", "a", "d", "c", "p"};
    QVERIFY(b.Analiza());
    QCOMPARE(b.mascaras.Mascara(1), QString());
    QCOMPARE(b.mascaras.UltimoSlot(), 20);
    QCOMPARE(b.campos.autor, QString("a"));
    QVERIFY(b.elector.vistas.isEmpty());
}

void TestAnalisis::carpetaDeUnaCancion()
{
    Banco b("una");
    b.Filas({"Dover\\", "Dover\\Devil come to me-Judas.mp3"});
    b.elector.responde = ElectorGuionado::Elige("a\\d-c");
    QVERIFY(b.Analiza());
    QCOMPARE(b.Columnas("Dover\\"), (QStringList{"#", "Dover", "Devil come to me"}));
}

void TestAnalisis::cancionesSeparadasPorUnaImagen()
{
    // Only adjacent songs are compared: with a picture between the two, no
    // pair is, and the folder takes the last song's values.
    Banco b("separadas");
    b.Filas({"Mix\\", "Mix\\a\\Uno.mp3", "Mix\\b.jpg", "Mix\\c\\Dos.mp3"});
    b.elector.responde = ElectorGuionado::Elige("d\\c");
    QVERIFY(b.Analiza());
    QCOMPARE(b.Columnas("Mix\\"), (QStringList{"#", "<vacio>", "c"}));
}

void TestAnalisis::etiquetas_data()
{
    QTest::addColumn<QStringList>("specs");
    QTest::addColumn<bool>("conEtiquetas");  // the setting of the "Mascaras" tab
    QTest::addColumn<QString>("elige");      // the mask picked when asked; empty: give up
    QTest::addColumn<QStringList>("mascarasVistas");  // the best two of the one dialog shown; none: empty
    QTest::addColumn<QList<QStringList>>("filas");    // the folder row, then the songs

    const QString coro = "Coro Añil|Álbum del Ñandú|";
    const QString dover = "Dover\\Devil come to me\\";
    QTest::newRow("tags only: taken without asking")
        << QStringList{"CD1\\Pista 01.mp3|" + coro + "Ñandú|1", "CD1\\Pista 02.mp3|" + coro + "Canción de cuna|2"}
        << true << QString() << QStringList()
        << QList<QStringList>{{"#", "Coro Añil", "Álbum del Ñandú"},
                              {"f", "Coro Añil", "Álbum del Ñandú", "Ñandú", "01", "<etiquetas>"},
                              {"f", "Coro Añil", "Álbum del Ñandú", "Canción de cuna", "02", "<etiquetas>"}};
    QTest::newRow("tags turned off: the path is all there is")
        << QStringList{"CD1\\Pista 01.mp3|" + coro + "Ñandú|1"} << false << QString("d\\c")
        << QStringList{"a\\c", "d\\c"}
        << QList<QStringList>{{"#", "<vacio>", "CD1"}, {"f", "<vacio>", "CD1", "Pista 01", "00", "d\\c"}};
    QTest::newRow("tags without an artist: no candidate")
        << QStringList{"CD1\\Pista 01.mp3||Álbum del Ñandú|Ñandú|1"} << true << QString("d\\c")
        << QStringList{"a\\c", "d\\c"}
        << QList<QStringList>{{"#", "<vacio>", "CD1"}, {"f", "<vacio>", "CD1", "Pista 01", "00", "d\\c"}};
    QTest::newRow("path only")
        << QStringList{dover + "01-Judas.mp3", dover + "02-Intro.mp3"} << true << QString("a\\d\\p-c")
        << QStringList{"a\\d\\p-c", "a\\d\\x-c"}
        << QList<QStringList>{{"#", "Dover", "Devil come to me"},
                              {"f", "Dover", "Devil come to me", "Judas", "01", "a\\d\\p-c"},
                              {"f", "Dover", "Devil come to me", "Intro", "02", "a\\d\\p-c"}};
    QTest::newRow("both agreeing: one candidate")
        << QStringList{dover + "01-Judas.mp3|Dover|Devil come to me|Judas|1", dover + "02-Intro.mp3|Dover|Devil come to me|Intro|2"}
        << true << QString("a\\d\\p-c")
        << QStringList{"a\\d\\p-c", "a\\d\\x-c"}
        << QList<QStringList>{{"#", "Dover", "Devil come to me"},
                              {"f", "Dover", "Devil come to me", "Judas", "01", "a\\d\\p-c"},
                              {"f", "Dover", "Devil come to me", "Intro", "02", "a\\d\\p-c"}};
    const QStringList distintos{dover + "01-Judas.mp3|" + coro + "Ñandú|1", dover + "02-Intro.mp3|" + coro + "Canción de cuna|2"};
    const QStringList vistas{"a\\d\\p-c", "<etiquetas>"};
    QTest::newRow("both disagreeing: the tags chosen")
        << distintos << true << QString("<etiquetas>") << vistas
        << QList<QStringList>{{"#", "Coro Añil", "Álbum del Ñandú"},
                              {"f", "Coro Añil", "Álbum del Ñandú", "Ñandú", "01", "<etiquetas>"},
                              {"f", "Coro Añil", "Álbum del Ñandú", "Canción de cuna", "02", "<etiquetas>"}};
    QTest::newRow("both disagreeing: the path chosen")
        << distintos << true << QString("a\\d\\p-c") << vistas
        << QList<QStringList>{{"#", "Dover", "Devil come to me"},
                              {"f", "Dover", "Devil come to me", "Judas", "01", "a\\d\\p-c"},
                              {"f", "Dover", "Devil come to me", "Intro", "02", "a\\d\\p-c"}};
    QTest::newRow("various artists")
        << QStringList{"Éxitos\\01.mp3|Abba|Éxitos|Fernando|1", "Éxitos\\02.mp3|Dover|Éxitos|Judas|2",
                       "Éxitos\\03.mp3|Queen|Éxitos|Bohemian|3"}
        << true << QString() << QStringList()
        << QList<QStringList>{{"#", "<Varios Artistas>", "Éxitos"},
                              {"v", "Abba", "Éxitos", "Fernando", "01", "<etiquetas>"},
                              {"v", "Dover", "Éxitos", "Judas", "02", "<etiquetas>"},
                              {"v", "Queen", "Éxitos", "Bohemian", "03", "<etiquetas>"}};
}

void TestAnalisis::etiquetas()
{
    QFETCH(QStringList, specs);
    QFETCH(bool, conEtiquetas);
    QFETCH(QString, elige);
    QFETCH(QStringList, mascarasVistas);
    QFETCH(QList<QStringList>, filas);
    Banco b(QTest::currentDataTag());
    b.ctx.etiquetas = conEtiquetas;
    Ficheros(b, QString::number(qHash(QString(QTest::currentDataTag()))), specs);
    b.elector.responde = ElectorGuionado::Elige(elige);
    QVERIFY(b.Analiza());
    QCOMPARE(b.elector.vistas.size(), mascarasVistas.isEmpty() ? 0 : 1);
    if (!mascarasVistas.isEmpty()) {
        QStringList mascaras;
        for (const CandidatoDecodificacion& k : b.elector.vistas[0].candidatos)
            mascaras << k.mascara;
        QCOMPARE(mascaras.mid(0, 2), mascarasVistas);
        QCOMPARE(mascaras.count("<etiquetas>"), mascarasVistas.count("<etiquetas>"));
    }
    QCOMPARE(b.lista.Cuenta(), filas.size());
    for (int i = 0; i < filas.size(); ++i)
        QCOMPARE(b.lista.Fila(i + 1).subItems, filas[i]);
}

void TestAnalisis::portadaDeLosFicheros()
{
    Banco b("portada");
    const QByteArray portada = LeeFichero(CreaImagen(ficheros.filePath("p.jpg")));
    Ficheros(b, "portada", {"CD1\\Pista 01.mp3|Coro Añil|Álbum del Ñandú|Ñandú|1",
                            "CD1\\Pista 02.mp3|Coro Añil|Álbum del Ñandú|Canción de cuna|2",
                            "Con foto\\01.mp3|Otro|Otro disco|Uno|1"}, portada);
    Ficheros(b, "portada", {"Sin portada\\01.mp3|Otro|Otro disco|Uno|1"});
    EscribeFichero(ficheros.filePath("portada/Con foto/cover.jpg"), portada);
    b.lista.Anade("Con foto\\cover.jpg", ficheros.filePath("portada/Con foto/cover.jpg"), "p", "img");
    QVERIFY(b.Analiza());
    // Only the folder without pictures whose first file carries one gets a row.
    const QString fila = "CD1\\Pista 01.mp3 (portada).jpg";
    QCOMPARE(b.Columnas(fila), (QStringList{"p", "Coro Añil", "Álbum del Ñandú", "", "", ""}));
    QCOMPARE(b.lista.Fila(b.Fila(fila)).tag, ficheros.filePath("portada/CD1/Pista 01.mp3"));
    QCOMPARE(b.lista.Cuenta(), 9);

    // Recorded like a picture file: the copy holds the cover's bytes.
    GrabaCD(b.bd, b.lista, {"CD", "1234-5678", true, b.dir.path()});
    const QStringList copias = QDir(CarpetaImagenes(b.dir.path())).entryList({"*.jpg"});
    QCOMPARE(copias.size(), 2);
    for (const QString& c : copias)
        QCOMPARE(LeeFichero(QDir(CarpetaImagenes(b.dir.path())).filePath(c)), portada);
    // No file on the CD holds it: autorun.dat names only the picture file.
    CamposLlevados campos;
    const QString autorun = QString::fromUtf8(TextoAutorun(GeneraArbol(b.lista, campos), true));
    QVERIFY(autorun.contains("\\Con foto\\cover.jpg"));
    QVERIFY(!autorun.contains("(portada)"));
}

QTEST_GUILESS_MAIN(TestAnalisis)
#include "test_analisis.moc"
