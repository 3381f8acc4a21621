#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/catalogo_relleno.h"
#include "catalogue/navegador.h"
#include "support/motorprueba.h"
#include "support/mp3s.h"

namespace {

QString id(qint64 v) { return QString::number(v); }

const NodoBD* busca(const std::vector<NodoBD>& nodos, const QString& clave)
{
    for (const NodoBD& n : nodos)
        if (n.clave == clave)
            return &n;
    return nullptr;
}

class AvanceAnotado : public Avance {
public:
    void Empieza(int m) override { maximos << m; }
    void Avanza(int valor) override { pasos = valor; }
    void Termina() override { ++terminados; }
    QList<int> maximos;
    int pasos = 0;
    int terminados = 0;
};

}  // namespace

class TestNavegador : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        bd_ = std::make_unique<Catalogo>(CatalogoDePrueba(dir_->path()), QStringLiteral("nav"));
        bd_->AbreBaseDatos();
    }
    void cleanup()
    {
        bd_.reset();
        dir_.reset();
    }

    void primerNivelDeLasTresOrdenaciones()
    {
        Catalogo& bd = *bd_;
        // Recorded out of order; the database alone would put Ñ and Ó after Z.
        const auto zz = GrabaCancionPrueba(bd, "Rock 2", "Zz Top", "Ocaso", "Legs", 1);
        const auto ab = GrabaCancionPrueba(bd, "Ópera 1", "abba", "Arrival", "Dancing Queen", 2);
        const auto el = GrabaCancionPrueba(bd, "Ópera 1", "Ñandú", "Ñu", "Uno", 3);

        AvanceAnotado avance;
        auto autores = ArbolBD(bd, 1, &avance);
        QCOMPARE(autores.size(), size_t(4));
        QCOMPARE(autores[0].clave, QString("BD"));
        QCOMPARE(autores[0].texto, QString("GrupoAutor"));
        QCOMPARE(autores[0].imagen, QString("GrupoAutor"));
        QVERIFY(autores[0].padre.isEmpty());
        // Ordered by the standardised name, in Spanish order: ABBA, ÑANDU, ZZTOP.
        QCOMPARE(autores[1].clave, "BDau#" + id(ab.idautor));
        QCOMPARE(autores[1].texto, QString("abba"));
        QCOMPARE(autores[2].texto, QString("Ñandú"));
        QCOMPARE(autores[3].clave, "BDau#" + id(zz.idautor));
        for (size_t i = 1; i < autores.size(); ++i) {
            QCOMPARE(autores[i].padre, QString("BD"));
            QCOMPARE(autores[i].imagen, QString("autor"));
            QCOMPARE(autores[i].tag, qint64(0));
        }
        QCOMPARE(avance.maximos, QList<int>{4});
        QCOMPARE(avance.pasos, 3);
        QCOMPARE(avance.terminados, 1);

        auto discos = ArbolBD(bd, 2);
        QCOMPARE(discos[0].texto, QString("grupodisco"));
        QCOMPARE(discos.size(), size_t(4));
        QCOMPARE(discos[1].clave, "BDdi#" + id(ab.iddisco));
        QCOMPARE(discos[1].texto, QString("Arrival(abba)"));
        QCOMPARE(discos[1].tag, ab.iddisco);
        QCOMPARE(discos[1].imagen, QString("disco"));
        QCOMPARE(discos[2].texto, QString("Ñu(Ñandú)"));
        QCOMPARE(discos[3].texto, QString("Ocaso(Zz Top)"));
        QCOMPARE(discos[3].tag, zz.iddisco);

        auto cds = ArbolBD(bd, 3);
        QCOMPARE(cds[0].texto, QString("GrupoCD"));
        QCOMPARE(cds.size(), size_t(3));
        QCOMPARE(cds[1].clave, "BDcd#" + id(el.idcd));
        QCOMPARE(cds[1].texto, QString("Ópera 1"));
        QCOMPARE(cds[1].imagen, QString("cd"));
        QCOMPARE(cds[2].texto, QString("Rock 2"));

        QVERIFY(ArbolBD(bd, 0).empty());
        QVERIFY(ArbolBD(bd, 4).empty());
    }

    void discoDeUnAutorQueNoExisteTieneNombreVacio()
    {
        Catalogo& bd = *bd_;
        bd.Ejecuta("insert into tldisco (dsdisco, dsdisco_std, cdautord) values ('Huerfano', 'HUERFANO', 999)");
        auto discos = ArbolBD(bd, 2);
        QCOMPARE(discos.size(), size_t(2));
        QCOMPARE(discos[1].texto, QString("Huerfano()"));
    }

    void autorConUnDiscoEnDosCdsYOtroConPortada()
    {
        Catalogo& bd = *bd_;
        const auto a1 = GrabaCancionPrueba(bd, "CD uno", "Dover", "Devil", "Judas", 1);
        const auto a2 = GrabaCancionPrueba(bd, "CD dos", "Dover", "Devil", "Serenade", 2);
        const auto b = GrabaCancionPrueba(bd, "CD dos", "Dover", "Late", "Cherry", 1);
        GrabaCancionPrueba(bd, "CD dos", "Otro", "Late", "No sale", 1);
        QCOMPARE(a1.iddisco, a2.iddisco);
        const QString jpg = CreaImagen(dir_->filePath("origen/late.jpg"));
        QVERIFY(GrabaPortadaPrueba(bd, dir_->path(), b.iddisco, jpg, "Dover\\Late\\late.jpg") > 0);

        const QString clave = "BDau#" + id(a1.idautor);
        AvanceAnotado avance;
        ContenidoBD c = ListaBD(bd, clave, &avance);
        QCOMPARE(c.filas.size(), size_t(3));
        QCOMPARE(c.columnaOrden, columnaBD::kAutor);
        QCOMPARE(avance.maximos, QList<int>{3});
        QCOMPARE(avance.pasos, 3);

        // One node per disc; the disc on two CDs carries the CD of its first song.
        QCOMPARE(c.nodos.size(), size_t(2));
        const NodoBD* devil = busca(c.nodos, clave + "di#" + id(a1.iddisco));
        QVERIFY(devil);
        QCOMPARE(devil->padre, clave);
        QCOMPARE(devil->texto, QString("Devil(CD uno)"));
        QCOMPARE(devil->imagen, QString("disco"));
        QCOMPARE(devil->tag, a1.iddisco);
        const NodoBD* late = busca(c.nodos, clave + "di#" + id(b.iddisco));
        QVERIFY(late);
        QCOMPARE(late->texto, QString("Late(CD dos)"));
        QCOMPARE(late->imagen, QString("cd"));

        QStringList cds, canciones;
        for (const FilaBD& f : c.filas) {
            cds << f.cd;
            canciones << f.cancion;
            QCOMPARE(f.autor, QString("Dover"));
            QCOMPARE(f.attrib, QString("f"));
        }
        QVERIFY(canciones.contains("Serenade"));
        QVERIFY(cds.contains("CD uno") && cds.contains("CD dos"));
        for (const FilaBD& f : c.filas)
            if (f.cancion == "Serenade") {
                QCOMPARE(f.clave, "ca#" + id(a2.idcancion));
                QCOMPARE(f.posicion, QString("2"));
                QCOMPARE(f.disco, QString("Devil"));
                QCOMPARE(f.cd, QString("CD dos"));
            }
    }

    void cdConDosDiscosDeUnAutorYUnDiscoDeVarios()
    {
        Catalogo& bd = *bd_;
        const auto x1 = GrabaCancionPrueba(bd, "Mezcla", "Xavi", "Primero", "a", 1);
        const auto x2 = GrabaCancionPrueba(bd, "Mezcla", "Xavi", "Segundo", "b", 1);
        const auto v1 = GrabaCancionPrueba(bd, "Mezcla", "Ana", "Exitos", "c", 1, true);
        const auto v2 = GrabaCancionPrueba(bd, "Mezcla", "Zoe", "Exitos", "d", 2, true);
        const auto v3 = GrabaCancionPrueba(bd, "Mezcla", "Xavi", "Exitos", "e", 3, true);
        QCOMPARE(v1.iddisco, v2.iddisco);
        QCOMPARE(v1.iddisco, v3.iddisco);
        // Another CD must not add to this one.
        GrabaCancionPrueba(bd, "Otra", "Xavi", "Tercero", "f", 1);

        const QString clave = "BDcd#" + id(x1.idcd);
        ContenidoBD c = ListaBD(bd, clave);
        QCOMPARE(c.filas.size(), size_t(5));
        QCOMPARE(c.columnaOrden, -1);

        const QString xavi = clave + "au#" + id(x1.idautor);
        const QString varios = clave + "au#-98";
        QStringList claves;
        for (const NodoBD& n : c.nodos)
            claves << n.clave;
        QCOMPARE(claves.size(), 5);
        QCOMPARE(QSet<QString>(claves.begin(), claves.end()).size(), 5);
        QVERIFY(claves.contains(xavi));
        QVERIFY(claves.contains(varios));
        QVERIFY(claves.contains(xavi + "di#" + id(x1.iddisco)));
        QVERIFY(claves.contains(xavi + "di#" + id(x2.iddisco)));
        QVERIFY(claves.contains(varios + "di#" + id(v1.iddisco)));

        const NodoBD* nx = busca(c.nodos, xavi);
        QCOMPARE(nx->padre, clave);
        QCOMPARE(nx->texto, QString("Xavi"));
        QCOMPARE(nx->imagen, QString("autor"));
        const NodoBD* nv = busca(c.nodos, varios);
        QCOMPARE(nv->padre, clave);
        QCOMPARE(nv->texto, QString("<Varios Artistas>"));
        QCOMPARE(nv->imagen, QString("GrupoAutor"));
        const NodoBD* dv = busca(c.nodos, varios + "di#" + id(v1.iddisco));
        QCOMPARE(dv->padre, varios);
        QCOMPARE(dv->texto, QString("Exitos"));
        QCOMPARE(dv->tag, v1.iddisco);
        // The list keeps each song's own performer.
        QStringList performers;
        for (const FilaBD& f : c.filas)
            if (f.attrib == "v")
                performers << f.autor;
        performers.sort();
        QCOMPARE(performers, (QStringList{"Ana", "Xavi", "Zoe"}));
    }

    void discoPorSusAutores()
    {
        Catalogo& bd = *bd_;
        const auto v1 = GrabaCancionPrueba(bd, "Recop", "Ana", "Exitos", "c", 1, true);
        const auto v2 = GrabaCancionPrueba(bd, "Recop", "Zoe", "Exitos", "d", 2, true);
        GrabaCancionPrueba(bd, "Recop", "Zoe", "Exitos", "e", 3, true);
        const QString clave = "BDdi#" + id(v1.iddisco);
        ContenidoBD c = ListaBD(bd, clave);
        QCOMPARE(c.filas.size(), size_t(3));
        QCOMPARE(c.nodos.size(), size_t(2));
        QCOMPARE(c.nodos[0].clave, clave + "au#" + id(v1.idautor));
        QCOMPARE(c.nodos[0].texto, QString("Ana(Recop)"));
        QCOMPARE(c.nodos[0].imagen, QString("autor"));
        QCOMPARE(c.nodos[0].tag, qint64(0));
        QCOMPARE(c.nodos[1].clave, clave + "au#" + id(v2.idautor));
    }

    void idsSinFilaMuestranVacio()
    {
        Catalogo& bd = *bd_;
        const auto s = GrabaCancionPrueba(bd, "Suelto", "Nadie", "Nada", "x", 1);
        bd.Ejecuta("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
                   " values ('sin disco', " + id(s.idcd) + ", -1, " + id(s.idautor) + ", 4, 'a.mp3', False, 1)");
        bd.Ejecuta("insert into tlcancion (dscancion, cdcd, cddisco, cdautor, wncancion, dspath, swvarios, wntime)"
                   " values ('sin autor', " + id(s.idcd) + ", " + id(s.iddisco) + ", 0, 5, 'b.mp3', False, 1)");
        ContenidoBD c = ListaBD(bd, "BDcd#" + id(s.idcd));
        QCOMPARE(c.filas.size(), size_t(3));
        for (const FilaBD& f : c.filas) {
            if (f.cancion == "sin disco") {
                QCOMPARE(f.disco, QString("<vacio>"));
                QCOMPARE(f.autor, QString("Nadie"));
            }
            if (f.cancion == "sin autor") {
                QCOMPARE(f.autor, QString("<vacio>"));
                QCOMPARE(f.disco, QString("Nada"));
            }
        }
        const NodoBD* sinAutor = busca(c.nodos, "BDcd#" + id(s.idcd) + "au#0");
        QVERIFY(sinAutor);
        QCOMPARE(sinAutor->texto, QString("<vacio>"));
        ContenidoBD a = ListaBD(bd, "BDau#" + id(s.idautor));
        const NodoBD* sinDisco = busca(a.nodos, "BDau#" + id(s.idautor) + "di#-1");
        QVERIFY(sinDisco);
        QCOMPARE(sinDisco->texto, QString("<vacio>(Suelto)"));
        QCOMPARE(sinDisco->imagen, QString("disco"));
    }

    void nodosSinCancionesNiLecturaPosible()
    {
        Catalogo& bd = *bd_;
        const auto s = GrabaCancionPrueba(bd, "Recop", "Ana", "Exitos", "c", 1, true);
        QString v = "<Varios Artistas>";
        const qint64 varios = DameAutor(bd, v, false);
        AvanceAnotado avance;
        ContenidoBD c = ListaBD(bd, "BDau#" + id(varios), &avance);
        QVERIFY(c.filas.empty());
        QVERIFY(c.nodos.empty());
        QVERIFY(avance.maximos.isEmpty());
        QVERIFY(ListaBD(bd, "BD").filas.empty());
        QVERIFY(ListaBD(bd, "BDxx#" + id(s.idcd)).filas.empty());
        QCOMPARE(IdDeClave("BDau#12"), qint64(12));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Catalogo> bd_;
};

QTEST_GUILESS_MAIN(TestNavegador)
#include "test_navegador.moc"
