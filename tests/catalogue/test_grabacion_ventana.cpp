// "Graba", "Compara" and the disc picture, driven through the main window.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include "catalogue/catalogo.h"
#include "catalogue/cdanalizado.h"
#include "catalogue/objetos.h"
#include "common/lodrinerror.h"
#include "main_window/frmVaro.h"
#include "main_window/listasimagenes.h"
#include "support/mp3s.h"
#include "support/testsupport.h"
#include "support/unidadesfalsas.h"

using namespace Qt::StringLiterals;

namespace {

struct Ventana {
    Ventana() : dirPrograma(dir.filePath(u"prog"_s)), cd(dir.filePath(u"cd"_s), dir.filePath(u"cache"_s))
    {
        static int conexiones = 0;
        QDir().mkpath(dirPrograma);
        bd = std::make_unique<Catalogo>(Catalogo::RutaCatalogo(dirPrograma), u"ventana%1"_s.arg(++conexiones));
        w = std::make_unique<frmVaro>(*bd, unidades, avisos, dirPrograma);
        w->Form_Load();
        w->txtCDROM->setText(u"Rock 1"_s);
        w->lbserial->setText(u"1A2B-3C4D"_s);
    }
    // Puts the rows made on disk into the window's work list.
    void Pasa()
    {
        w->lista = cd.lista;
        w->lista.Cambiada();
        w->RefrescaLista();
    }
    qint64 Id(const QString& select)
    {
        Consulta r = bd->Abre(select);
        return r.Fin() ? 0 : r.Entero(u"id"_s);
    }
    // The Tag of imgBD as a number.
    qint64 TagImagen() const { return w->imgBD->property("Tag").toString().toLongLong(); }
    void SeleccionaNodo(const QString& tag)
    {
        auto* nodo = new QTreeWidgetItem(w->tvBD, QStringList{u"nodo"_s});
        nodo->setData(0, Qt::UserRole, tag);
        w->tvBD->setCurrentItem(nodo);
    }
    void PulsaImagen() { QTest::mouseClick(w->imgBD, Qt::LeftButton); }

    QTemporaryDir dir;
    QString dirPrograma;
    CdAnalizado cd;
    UnidadesFalsas unidades;
    AvisosAnotados avisos;
    std::unique_ptr<Catalogo> bd;
    std::unique_ptr<frmVaro> w;
};

QImage DibujoDe(const QIcon& icono)
{
    return icono.pixmap(16, 16).toImage();
}

}  // namespace

class TestGrabacionVentana : public QObject {
    Q_OBJECT
private slots:
    void grabaConBarraDeProgreso();
    void grabaSinImagenes();
    void grabaQueFallaEscondeLaBarra();
    void comparaCambiaLosIconosDeLaVista();
    void muestraImagen();
    void pulsarLaImagenPasaALaSiguiente();
};

void TestGrabacionVentana::grabaConBarraDeProgreso()
{
    Ventana v;
    v.cd.Carpeta(u"Dover\\"_s, u"Dover"_s, u"Devil"_s);
    v.cd.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    v.cd.Imagen(u"Dover\\cover.jpg"_s, u"Dover"_s, u"Devil"_s);
    v.Pasa();
    QVERIFY(v.w->chkGrabImg->isChecked());
    QVERIFY(v.w->prgLoad->isHidden());

    v.w->cmdGraba_Click();
    QVERIFY(v.w->prgLoad->isHidden());
    QCOMPARE(v.w->prgLoad->maximum(), 3);
    QCOMPARE(v.w->prgLoad->value(), 3);
    QCOMPARE(CuentaFilas(*v.bd, u"tlcd"_s, u"dscd = 'Rock 1' and sercd = '1A2B-3C4D'"_s), qint64(1));
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(1));
    QCOMPARE(Ficheros(CarpetaImagenes(v.dirPrograma)).size(), 1);
    // The work list is read, not changed, and no message is shown.
    QCOMPARE(v.w->lista.Cuenta(), 3);
    QCOMPARE(v.w->lista.SubItem(2, columna::kCancion), u"Serenade"_s);
    QVERIFY(v.avisos.textos.isEmpty());
}

void TestGrabacionVentana::grabaSinImagenes()
{
    Ventana v;
    v.cd.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    v.cd.Imagen(u"Dover\\cover.jpg"_s, u"Dover"_s, u"Devil"_s);
    v.Pasa();
    v.w->chkGrabImg->setChecked(false);
    v.w->cmdGraba_Click();
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(1));
    QCOMPARE(CuentaFilas(*v.bd, u"tlobjetos"_s), qint64(0));
    QVERIFY(!QFileInfo::exists(CarpetaImagenes(v.dirPrograma)));
}

void TestGrabacionVentana::grabaQueFallaEscondeLaBarra()
{
    Ventana v;
    v.cd.Imagen(u"A\\cover.jpg"_s, u"Ana"_s, u"Uno"_s);
    v.cd.Cancion(u"B\\01.mp3"_s, u"f"_s, u"Bea"_s, u"Dos"_s, u"Tarde"_s, u"01"_s);
    QVERIFY(QFile::remove(v.cd.Ruta(u"A\\cover.jpg"_s)));
    v.Pasa();
    QVERIFY_THROWS_EXCEPTION(LodrinError, v.w->cmdGraba_Click());
    QVERIFY(v.w->prgLoad->isHidden());
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(0));
    QCOMPARE(CuentaFilas(*v.bd, u"tlobjetos"_s), qint64(1));
}

void TestGrabacionVentana::comparaCambiaLosIconosDeLaVista()
{
    Ventana v;
    v.cd.Cancion(u"Dover\\01.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Serenade"_s, u"01"_s);
    v.Pasa();
    v.w->cmdGraba_Click();
    v.cd.Cancion(u"Dover\\02.mp3"_s, u"f"_s, u"Dover"_s, u"Devil"_s, u"Judas"_s, u"02"_s);
    v.cd.Imagen(u"Dover\\cover.jpg"_s, u"Dover"_s, u"Devil"_s);
    v.Pasa();
    v.w->lstVBusca->selectionModel()->select(v.w->lstVBusca->model()->index(1, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);

    v.w->cmdCompara_Click();
    QCOMPARE(v.w->lista.Fila(1).icono, u"true"_s);
    QCOMPARE(v.w->lista.Fila(2).icono, u"false"_s);
    QCOMPARE(v.w->lista.Fila(3).icono, u"img"_s);
    QAbstractItemModel* modelo = v.w->lstVBusca->model();
    QCOMPARE(DibujoDe(modelo->index(0, 0).data(Qt::DecorationRole).value<QIcon>()),
             DibujoDe(v.w->imagenes->Pequena(u"true"_s)));
    QCOMPARE(DibujoDe(modelo->index(1, 0).data(Qt::DecorationRole).value<QIcon>()),
             DibujoDe(v.w->imagenes->Pequena(u"false"_s)));
    // The selection survives the refresh.
    QCOMPARE(v.w->lstVBusca->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(v.w->lstVBusca->selectionModel()->selectedRows().first().row(), 1);
    QCOMPARE(CuentaFilas(*v.bd, u"tlcancion"_s), qint64(1));
}

void TestGrabacionVentana::muestraImagen()
{
    Ventana v;
    const QDir carpeta(CarpetaImagenes(v.dirPrograma));
    CreaImagen(carpeta.filePath(u"3.jpg"_s), 30, 20);
    CreaImagen(carpeta.filePath(u"4.gif"_s));
    CreaImagen(carpeta.filePath(u"5.JPG"_s));
    EscribeFichero(carpeta.filePath(u"6.jpg"_s), "no es una imagen");

    qint64 id = 3;
    v.w->MuestraImagen(id);
    QCOMPARE(id, qint64(3));
    QCOMPARE(v.w->imgBD->pixmap().size(), QSize(30, 20));

    // A cover stored from a GIF file, or from an upper-case extension, shows.
    id = 4;
    v.w->MuestraImagen(id);
    QCOMPARE(id, qint64(4));
    QVERIFY(!v.w->imgBD->pixmap().isNull());
    id = 5;
    v.w->MuestraImagen(id);
    QCOMPARE(id, qint64(5));
    QCOMPARE(v.w->imgBD->pixmap().size(), QSize(40, 40));

    // A copy that cannot be decoded shows an empty picture and keeps its id.
    id = 6;
    v.w->MuestraImagen(id);
    QVERIFY(v.w->imgBD->pixmap().isNull());
    QCOMPARE(id, qint64(6));

    // A missing copy: empty picture, id 0.
    v.w->MuestraImagen(id = 3);
    QVERIFY(!v.w->imgBD->pixmap().isNull());
    id = 7;
    v.w->MuestraImagen(id);
    QVERIFY(v.w->imgBD->pixmap().isNull());
    QCOMPARE(id, qint64(0));
}

void TestGrabacionVentana::pulsarLaImagenPasaALaSiguiente()
{
    Ventana v;
    v.cd.Cancion(u"Dos\\01.mp3"_s, u"f"_s, u"Ana"_s, u"Dos"_s, u"Uno"_s, u"01"_s);
    v.cd.Imagen(u"Dos\\a.jpg"_s, u"Ana"_s, u"Dos"_s);
    v.cd.Imagen(u"Dos\\b.gif"_s, u"Ana"_s, u"Dos"_s);
    v.cd.Imagen(u"Una\\a.jpg"_s, u"Ana"_s, u"Una"_s);
    v.Pasa();
    v.w->cmdGraba_Click();
    const QString dos = QString::number(v.Id(u"select iddisco as id from tldisco where dsdisco = 'Dos'"_s));
    const QString una = QString::number(v.Id(u"select iddisco as id from tldisco where dsdisco = 'Una'"_s));
    const qint64 a = v.Id(u"select idobjeto as id from tlobjetos where dspath = 'Dos\\a.jpg'"_s);
    const qint64 b = v.Id(u"select idobjeto as id from tlobjetos where dspath = 'Dos\\b.gif'"_s);
    const qint64 sola = v.Id(u"select idobjeto as id from tlobjetos where dspath = 'Una\\a.jpg'"_s);

    // Nothing shown: a click does nothing.
    v.SeleccionaNodo(dos);
    v.PulsaImagen();
    QCOMPARE(v.TagImagen(), qint64(0));

    // Two pictures go round.
    qint64 id = a;
    v.w->MuestraImagen(id);
    v.w->imgBD->setProperty("Tag", QString::number(a));
    v.PulsaImagen();
    QCOMPARE(v.TagImagen(), b);
    QVERIFY(!v.w->imgBD->pixmap().isNull());
    v.PulsaImagen();
    QCOMPARE(v.TagImagen(), a);

    // An author or CD node (Tag 0) selected: the click changes nothing.
    v.SeleccionaNodo(u"0"_s);
    v.PulsaImagen();
    QCOMPARE(v.TagImagen(), a);

    // One picture: the click changes nothing.
    v.SeleccionaNodo(una);
    v.w->imgBD->setProperty("Tag", QString::number(sola));
    v.PulsaImagen();
    QCOMPARE(v.TagImagen(), sola);

    // The next picture's copy is missing: empty picture and Tag 0.
    v.SeleccionaNodo(dos);
    QVERIFY(QFile::remove(CopiaExistente(v.dirPrograma, b)));
    v.w->imgBD->setProperty("Tag", QString::number(a));
    v.PulsaImagen();
    QCOMPARE(v.TagImagen(), qint64(0));
    QVERIFY(v.w->imgBD->pixmap().isNull());
}

QTEST_MAIN(TestGrabacionVentana)
#include "test_grabacion_ventana.moc"
