// The analysis of the work list: decoding every MP3 row, summing up folders,
// various-artists folders, pictures, F3 runs and a choice given up.
#include <QTemporaryDir>
#include <QtTest>

#include "decoding/analisis.h"
#include "decoding/decodificador.h"
#include "decoding/mascaras.h"
#include "store/catalogo.h"
#include "support/electorguionado.h"
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
private slots:
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
    QVERIFY(b.Analiza());
    QCOMPARE(b.Columnas(kDover[3]).value(3), QString("Fin"));
    QCOMPARE(b.Columnas(kDover[0]), (QStringList{"#", "Dover", "Devil come to me"}));
    QCOMPARE(b.Columnas("Zeta\\"), (QStringList{"#"}));
    QCOMPARE(b.Columnas("Zeta\\01-Uno.mp3"), (QStringList{"f"}));
    QCOMPARE(b.Columnas("Zeta\\02-Dos.mp3"), (QStringList{"f", "viejo"}));
    QCOMPARE(b.Columnas("Dover\\Devil come to me\\cover.jpg"), (QStringList{"p"}));
    QCOMPARE(b.elector.vistas.size(), 2);
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

QTEST_GUILESS_MAIN(TestAnalisis)
#include "test_analisis.moc"
