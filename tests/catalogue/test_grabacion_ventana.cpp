// "Graba" and "Compara" driven through the main window.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "catalogue/catalogo.h"
#include "catalogue/cdanalizado.h"
#include "catalogue/objetos.h"
#include "common/lodrinerror.h"
#include "main_window/frmVaro.h"
#include "common/listasimagenes.h"
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

QTEST_MAIN(TestGrabacionVentana)
#include "test_grabacion_ventana.moc"
