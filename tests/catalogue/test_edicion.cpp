#include <QTemporaryDir>
#include <QtTest>

#include "catalogue/catalogo_relleno.h"
#include "catalogue/edicion.h"
#include "catalogue/navegador.h"
#include "support/motorprueba.h"
#include "support/mp3s.h"

namespace {

QString id(qint64 v) { return QString::number(v); }

FilaBD filaDe(Catalogo& bd, const QString& claveNodo, qint64 idcancion)
{
    for (const FilaBD& f : ListaBD(bd, claveNodo).filas)
        if (f.clave == "ca#" + id(idcancion))
            return f;
    return {};
}

int cuenta(Catalogo& bd, const QString& sql) { return bd.Abre(sql).RecordCount(); }

}  // namespace

class TestEdicion : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        bd_ = std::make_unique<Catalogo>(CatalogoDePrueba(dir_->path()), QStringLiteral("edi"));
        bd_->AbreBaseDatos();
    }
    void cleanup()
    {
        bd_.reset();
        dir_.reset();
    }

    void borrarLaUnicaCancionDejaDiscoAutorCdEImagenes()
    {
        Catalogo& bd = *bd_;
        const auto s = GrabaCancionPrueba(bd, "Solo", "Dover", "Devil", "Judas", 1);
        const auto otra = GrabaCancionPrueba(bd, "Solo", "Dover", "Late", "Cherry", 1);
        const QString jpg = CreaImagen(dir_->filePath("o/devil.jpg"));
        QVERIFY(GrabaPortadaPrueba(bd, dir_->path(), s.iddisco, jpg, "Dover\\Devil\\devil.jpg") > 0);

        BorraCancion(bd, filaDe(bd, "BDau#" + id(s.idautor), s.idcancion));
        QCOMPARE(cuenta(bd, "select * from tlcancion where idcancion = " + id(s.idcancion)), 0);
        QCOMPARE(cuenta(bd, "select * from tlcancion where idcancion = " + id(otra.idcancion)), 1);
        QCOMPARE(cuenta(bd, "select * from tldisco where iddisco = " + id(s.iddisco)), 1);
        QCOMPARE(cuenta(bd, "select * from tlautor where idautor = " + id(s.idautor)), 1);
        QCOMPARE(cuenta(bd, "select * from tlcd where idcd = " + id(s.idcd)), 1);
        QCOMPARE(cuenta(bd, "select * from tlobjetos where idtabla = " + id(s.iddisco)), 1);

        // The disc is still in the tree, with no songs.
        bool visto = false;
        for (const NodoBD& n : ArbolBD(bd, 2))
            visto = visto || n.clave == "BDdi#" + id(s.iddisco);
        QVERIFY(visto);
        QVERIFY(ListaBD(bd, "BDdi#" + id(s.iddisco)).filas.empty());
    }

    void cambiarAutorCreaAutorYDiscoNuevos()
    {
        Catalogo& bd = *bd_;
        const auto s = GrabaCancionPrueba(bd, "CD", "Dover", "Devil", "Judas", 3);
        FilaBD f = filaDe(bd, "BDau#" + id(s.idautor), s.idcancion);
        f.autor = "Nuevo Grupo";
        f.disco = "Otro Disco";
        f.cancion = "Judas (en vivo)";
        f.posicion = "7";
        QCOMPARE(ActualizaCancion(bd, f), QString("7"));

        QString a = "Nuevo Grupo";
        const qint64 nuevoAutor = DameAutor(bd, a, false);
        QVERIFY(nuevoAutor > 0);
        QString d = "Otro Disco";
        const qint64 nuevoDisco = DameDisco(bd, d, nuevoAutor, false);
        QVERIFY(nuevoDisco > 0);
        Consulta r = bd.Abre("select * from tlcancion where idcancion = " + id(s.idcancion));
        QCOMPARE(r.Entero("cdautor"), nuevoAutor);
        QCOMPARE(r.Entero("cddisco"), nuevoDisco);
        QCOMPARE(r.Entero("wncancion"), qint64(7));
        QCOMPARE(r.Texto("dscancion"), QString("Judas (en vivo)"));
        // What the edit does not touch stays.
        QCOMPARE(r.Entero("cdcd"), s.idcd);
        QCOMPARE(r.Texto("dspath"), QString("Dover\\Devil\\Judas.mp3"));
        QCOMPARE(r.Entero("wntime"), qint64(180));
        QVERIFY(!r.SiNo("swvarios"));
        // The old author and disc rows stay.
        QCOMPARE(cuenta(bd, "select * from tldisco where iddisco = " + id(s.iddisco)), 1);
        QCOMPARE(cuenta(bd, "select * from tlautor where idautor = " + id(s.idautor)), 1);
    }

    void variosArtistasConservaElDiscoDelGrupo()
    {
        Catalogo& bd = *bd_;
        const auto s = GrabaCancionPrueba(bd, "Recop", "Ana", "Exitos", "c", 1, true);
        FilaBD f = filaDe(bd, "BDdi#" + id(s.iddisco), s.idcancion);
        QCOMPARE(f.attrib, QString("v"));
        f.autor = "Bea";
        ActualizaCancion(bd, f);
        QString b = "Bea";
        const qint64 bea = DameAutor(bd, b, false);
        Consulta r = bd.Abre("select * from tlcancion where idcancion = " + id(s.idcancion));
        QCOMPARE(r.Entero("cdautor"), bea);
        QCOMPARE(r.Entero("cddisco"), s.iddisco);
        QVERIFY(r.SiNo("swvarios"));
    }

    void textoTecleadoSeGuardaTalCual()
    {
        Catalogo& bd = *bd_;
        const auto s = GrabaCancionPrueba(bd, "CD", "Dover", "Devil", "Judas", 3);
        FilaBD f = filaDe(bd, "BDau#" + id(s.idautor), s.idcancion);
        const QString largo = QString("larguísimo ").repeated(2000);
        f.cancion = "It's <b>\"mine\"</b>'; drop table tlcancion; -- " + largo;
        f.autor = "O'Brien & <i>Co</i>";
        f.disco = "Disco 'raro'";
        ActualizaCancion(bd, f);
        Consulta r = bd.Abre("select * from tlcancion where idcancion = " + id(s.idcancion));
        QCOMPARE(r.Texto("dscancion"), f.cancion);
        Consulta a = bd.Abre("select dsautor from tlautor where idautor = " + id(r.Entero("cdautor")));
        QCOMPARE(a.Texto("dsautor"), f.autor);
        Consulta d = bd.Abre("select dsdisco from tldisco where iddisco = " + id(r.Entero("cddisco")));
        QCOMPARE(d.Texto("dsdisco"), f.disco);
        // The edited song reads back whole in the list.
        const FilaBD leida = filaDe(bd, "BDcd#" + id(s.idcd), s.idcancion);
        QCOMPARE(leida.cancion, f.cancion);
        QCOMPARE(leida.autor, f.autor);
    }

    // A position that is not a whole number the catalogue holds is refused
    // and changes nothing; an empty one keeps the stored position.
    void posicionTecleada_data()
    {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("queda");
        QTest::newRow("numero con blancos") << " 12 " << "12";
        QTest::newRow("cero") << "0" << "0";
        QTest::newRow("tope") << "-32768" << "-32768";
        QTest::newRow("vacio") << "" << "3";
        QTest::newRow("letras") << "7a" << QString();
        QTest::newRow("comilla") << "1'" << QString();
        QTest::newRow("demasiado grande") << "40000" << QString();
        QTest::newRow("decimal") << "4.5" << QString();
    }
    void posicionTecleada()
    {
        QFETCH(QString, tecleado);
        QFETCH(QString, queda);
        Catalogo& bd = *bd_;
        const auto s = GrabaCancionPrueba(bd, "CD", "Dover", "Devil", "Judas", 3);
        FilaBD f = filaDe(bd, "BDau#" + id(s.idautor), s.idcancion);
        f.posicion = tecleado;
        f.cancion = "Cambiada";
        f.autor = "Otro autor";
        if (queda.isNull()) {
            try {
                ActualizaCancion(bd, f);
                QFAIL("the position was accepted");
            } catch (const LodrinError& e) {
                QVERIFY2(e.message().contains(tecleado) && e.message().contains(bd.ruta()), qPrintable(e.message()));
            }
            QCOMPARE(cuenta(bd, "select * from tlautor"), 1);
        } else {
            QCOMPARE(ActualizaCancion(bd, f), queda);
        }
        Consulta r = bd.Abre("select * from tlcancion where idcancion = " + id(s.idcancion));
        QCOMPARE(r.Campo("wncancion").toString(), queda.isNull() ? QString("3") : queda);
        QCOMPARE(r.Texto("dscancion"), queda.isNull() ? QString("Judas") : QString("Cambiada"));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Catalogo> bd_;
};

QTEST_GUILESS_MAIN(TestEdicion)
#include "test_edicion.moc"
