// The author/disc tree built from analysed work lists.
#include <QtTest>

#include "autorun/arbol.h"
#include "autorun/filas.h"
#include "decoding/campos.h"

namespace {

// The tree as indented lines "text [image] key =tag", children in order.
QStringList Dibuja(const ArbolDiscos& a, int nodo = 0, int nivel = 0)
{
    QStringList lineas;
    if (a.Cuenta() == 0)
        return lineas;
    const NodoArbol& n = a.Nodo(nodo);
    QString l = QString(nivel * 2, u' ') + n.texto + QStringLiteral(" [") + n.imagen + QStringLiteral("] ") + n.clave;
    if (n.tag.isValid())
        l += QStringLiteral(" =") + n.tag.toString();
    lineas << l;
    for (int h : n.hijos)
        lineas << Dibuja(a, h, nivel + 1);
    return lineas;
}

const QString base = QStringLiteral("/cd/");

}  // namespace

class TestArbol : public QObject {
    Q_OBJECT
private slots:
    void listaSinCancionesDaSoloLaRaiz()
    {
        ListaTrabajo lista;
        CamposLlevados campos;
        QCOMPARE(Dibuja(GeneraArbol(lista, campos)), QStringList{"nuevo [disco] nuevo"});
        // Folders, play lists, text files and rows never analysed stay out.
        lista.Anade("Ana\\", "", "#", "abierta");
        lista.Anade("Ana\\lista.m3u", "/cd/Ana/lista.m3u", "l", "list");
        lista.Anade("Ana\\notas.txt", "/cd/Ana/notas.txt", "c", "text");
        lista.Anade("Ana\\sin.mp3", "/cd/Ana/sin.mp3", "f", "mp3");
        const int corta = lista.Anade("Ana\\corta.mp3", "/cd/Ana/corta.mp3", "f", "mp3");
        lista.PonSubItem(corta, columna::kAutor, "Ana");  // two sub-items only
        QCOMPARE(Dibuja(GeneraArbol(lista, campos)), QStringList{"nuevo [disco] nuevo"});
        QCOMPARE(campos.autor, kNingunoTodavia);
        QCOMPARE(campos.disco, kNingunoTodavia);
    }

    void dosDiscosDeUnAutorYUnAutorQueVuelve()
    {
        ListaTrabajo lista;
        lista.PonOrdenada(false);  // keep the order given, to make the author come back
        AnadeFila(lista, "Ana\\Hits\\01-Uno.mp3", "/cd/Ana/Hits/01-Uno.mp3", "f", "Ana", "Hits", "Uno", "01");
        AnadeFila(lista, "Ana\\Hits\\02-Dos.mp3", "/cd/Ana/Hits/02-Dos.mp3", "f", "Ana", "Hits", "Dos", "02");
        AnadeFila(lista, "Ana\\Live\\Tres.mp3", "/cd/Ana/Live/Tres.mp3", "f", "Ana", "Live", "Tres", "00");
        AnadeFila(lista, "Bea\\Sol\\Cuatro.mp3", "/cd/Bea/Sol/Cuatro.mp3", "f", "Bea", "Sol", "Cuatro", "");
        AnadeFila(lista, "Ana\\Hits\\07-Intro.mp3", "/cd/x/07-Intro.mp3", "f", "Ana", "Hits", "Intro", "07");
        CamposLlevados campos;
        const ArbolDiscos a = GeneraArbol(lista, campos);
        QCOMPARE(Dibuja(a), (QStringList{
            "nuevo [disco] nuevo",
            "  Ana [autor] a#Ana",
            "    Hits [cd] d#Hitsa#Ana",
            "      01-Uno [cancion] c#Ana\\Hits\\01-Uno.mp3d#Hitsa#Ana =Ana\\Hits\\01-Uno.mp3",
            "      02-Dos [cancion] c#Ana\\Hits\\02-Dos.mp3d#Hitsa#Ana =Ana\\Hits\\02-Dos.mp3",
            "      07-Intro [cancion] c#Ana\\Hits\\07-Intro.mp3d#Hitsa#Ana =Ana\\Hits\\07-Intro.mp3",
            "    Live [cd] d#Livea#Ana",
            "      Tres [cancion] c#Ana\\Live\\Tres.mp3d#Livea#Ana =Ana\\Live\\Tres.mp3",
            "  Bea [autor] a#Bea",
            "    Sol [cd] d#Sola#Bea",
            "      Cuatro [cancion] c#Bea\\Sol\\Cuatro.mp3d#Sola#Bea =Bea\\Sol\\Cuatro.mp3",
        }));
        // The last row's author and disc are carried on.
        QCOMPARE(campos.autor, QString("Ana"));
        QCOMPARE(campos.disco, QString("Hits"));
        // Keys compare exactly: another case is another author.
        AnadeFila(lista, "ana\\Hits\\x.mp3", "/cd/ana/Hits/x.mp3", "f", "ana", "Hits", "x", "00");
        const ArbolDiscos b = GeneraArbol(lista, campos);
        QCOMPARE(b.Nodo(0).hijos.size(), size_t(3));
        QCOMPARE(b.Nodo(b.Nodo(0).hijos.back()).texto, QString("ana"));
    }

    void variosArtistasBajoUnSoloAutor()
    {
        ListaTrabajo lista;
        AnadeFila(lista, "Hits\\01-Song.mp3", "/cd/Hits/01-Song.mp3", "v", "Performer", "Hits", "Song", "01");
        AnadeFila(lista, "Hits\\02-Otra.mp3", "/cd/Hits/02-Otra.mp3", "v", "Otro", "Hits", "Otra", "02");
        AnadeFila(lista, "Hits\\03-Sin.mp3", "/cd/Hits/03-Sin.mp3", "v", "", "Hits", "Sin", "00");
        AnadeFila(lista, "Hits\\cover.jpg", "/cd/Hits/cover.jpg", "p", kVariosArtistas, "Hits");
        CamposLlevados campos;
        const ArbolDiscos a = GeneraArbol(lista, campos);
        QCOMPARE(Dibuja(a), (QStringList{
            "nuevo [disco] nuevo",
            "  <Varios Artistas> [autor] a#<Varios Artistas>",
            "    Hits [cd] d#Hitsa#<Varios Artistas>",
            "      01-Song#@#Performer [cancion] c#Hits\\01-Song.mp3d#Hitsa#<Varios Artistas> =Hits\\01-Song.mp3",
            "      02-Otra#@#Otro [cancion] c#Hits\\02-Otra.mp3d#Hitsa#<Varios Artistas> =Hits\\02-Otra.mp3",
            "      Sin#@# [cancion] c#Hits\\03-Sin.mp3d#Hitsa#<Varios Artistas> =Hits\\03-Sin.mp3",
            "      cover.jpg [img] p#/cd/Hits/cover.jpg =4",
        }));
        QCOMPARE(campos.autor, kVariosArtistas);
    }

    void imagenesBajoDiscoAutorONada()
    {
        ListaTrabajo lista;
        lista.PonOrdenada(false);
        AnadeFila(lista, "Ana\\Hits\\Covers\\front.jpg", "/cd/Ana/Hits/Covers/front.jpg", "p", "Ana", "Hits");
        AnadeFila(lista, "Ana\\foto.gif", "/cd/Ana/foto.gif", "p", "Ana", "");
        AnadeFila(lista, "suelta.jpg", "/cd/suelta.jpg", "p", "", "");
        const int corta = lista.Anade("otra.jpg", "/cd/otra.jpg", "p", "img");
        lista.PonSubItem(corta, columna::kAutor, "Ana");
        AnadeFila(lista, "Ana\\Hits\\01-Uno.mp3", "/cd/Ana/Hits/01-Uno.mp3", "f", "Ana", "Hits", "Uno", "01");
        CamposLlevados campos;
        const ArbolDiscos a = GeneraArbol(lista, campos);
        QCOMPARE(Dibuja(a), (QStringList{
            "nuevo [disco] nuevo",
            "  Ana [autor] a#Ana",
            "    Hits [cd] d#Hitsa#Ana",
            "      front.jpg [img] p#/cd/Ana/Hits/Covers/front.jpg =1",
            "      01-Uno [cancion] c#Ana\\Hits\\01-Uno.mp3d#Hitsa#Ana =Ana\\Hits\\01-Uno.mp3",
            "    foto.gif [img] p#/cd/Ana/foto.gif =2",
        }));
        // The picture keeps its paths from the time the tree was built.
        const NodoArbol& front = a.Nodo(a.Busca("p#/cd/Ana/Hits/Covers/front.jpg"));
        QCOMPARE(front.rutaRelativa, QString("Ana\\Hits\\Covers\\front.jpg"));
        QCOMPARE(front.rutaCompleta, QString("/cd/Ana/Hits/Covers/front.jpg"));
    }

    void primeraFilaImagenYDespuesCancionDelMismoAutor()
    {
        // A disc-less picture, then a song of the same author with an empty
        // disc: the song still gets its disc node.
        ListaTrabajo lista;
        lista.PonOrdenada(false);
        AnadeFila(lista, "Ana\\foto.jpg", "/cd/Ana/foto.jpg", "p", "Ana", "");
        AnadeFila(lista, "Ana\\Uno.mp3", "/cd/Ana/Uno.mp3", "f", "Ana", "", "Uno", "00");
        // An author-less picture, then a song with an empty author.
        AnadeFila(lista, "x.jpg", "/cd/x.jpg", "p", "", "");
        AnadeFila(lista, "Dos.mp3", "/cd/Dos.mp3", "f", "", "Solo", "Dos", "00");
        CamposLlevados campos;
        const ArbolDiscos a = GeneraArbol(lista, campos);
        QCOMPARE(Dibuja(a), (QStringList{
            "nuevo [disco] nuevo",
            "  Ana [autor] a#Ana",
            "    foto.jpg [img] p#/cd/Ana/foto.jpg =1",
            "     [cd] d#a#Ana",
            "      Uno [cancion] c#Ana\\Uno.mp3d#a#Ana =Ana\\Uno.mp3",
            "   [autor] a#",
            "    Solo [cd] d#Soloa#",
            "      Dos [cancion] c#Dos.mp3d#Soloa# =Dos.mp3",
        }));
    }

    void filaRepetidaSeSalta()
    {
        ListaTrabajo lista;
        lista.PonOrdenada(false);
        AnadeFila(lista, "A\\D\\1.mp3", "/cd/A/D/1.mp3", "f", "A", "D", "Uno", "01");
        AnadeFila(lista, "A\\D\\c.jpg", "/cd/A/D/c.jpg", "p", "A", "D");
        AnadeFila(lista, "A\\D\\1.mp3", "/cd/A/D/1.mp3", "f", "A", "D", "Uno bis", "01");
        AnadeFila(lista, "A\\D\\c.jpg", "/cd/A/D/c.jpg", "p", "A", "D");
        AnadeFila(lista, "A\\D\\2.mp3", "/cd/A/D/2.mp3", "f", "A", "D", "Uno", "01");
        CamposLlevados campos;
        const ArbolDiscos a = GeneraArbol(lista, campos);
        const NodoArbol& disco = a.Nodo(a.Busca("d#Da#A"));
        QStringList hijos;
        for (int h : disco.hijos)
            hijos << a.Nodo(h).texto + "=" + a.Nodo(h).tag.toString();
        // The first of each pair stays; two songs with one label both stay.
        QCOMPARE(hijos, (QStringList{"01-Uno=A\\D\\1.mp3", "c.jpg=2", "01-Uno=A\\D\\2.mp3"}));
    }
};

QTEST_GUILESS_MAIN(TestArbol)
#include "test_autorun_arbol.moc"
