#include "main_window/frmVaro.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "autorun/genera_ui.h"
#include "catalogue/navegador_ui.h"
#include "catalogue/objetos.h"
#include "catalogue/pestanabd.h"
#include "common/avisos.h"
#include "common/barraavance.h"
#include "common/carpetacatalogo.h"
#include "common/controles.h"
#include "common/listasimagenes.h"
#include "common/twips.h"
#include "decoding/DlgDecodif.h"
#include "decoding/pestanamascaras.h"
#include "exploring/pestanaanalizacd.h"
#include "listing/pestanalistados.h"
#include "main_window/textosayuda.h"
#include "store/catalogo.h"
#include "worklist/pestanaficheros.h"

frmVaro::frmVaro(Catalogo& bd, Unidades& unidades, Avisos& avisos, const QString& dirPrograma, QWidget* parent)
    : QWidget(parent),
      bd_(bd),
      unidades_(unidades),
      avisos_(avisos),
      dirPrograma_(dirPrograma),
      imagenes_(new ListasImagenes),
      entradaDialogo_(this)
{
    setObjectName(QStringLiteral("frmVaro"));
    setWindowTitle(TituloVentana(bd_.ubicacion()));

    prgLoad_ = new BarraAvance(this);
    Tv_ = new ArbolTrabajo(*imagenes_);
    baseDatos_ = new PestanaBaseDatos(bd_, *imagenes_);
    arriba_ = new AreaSuperior(bd_, *imagenes_, dirPrograma_, *prgLoad_, avisos_, *baseDatos_, Tv_, this);
    SSTab2_ = Control<QTabWidget>(this, "SSTab2");
    // Seven tabs in a single row, all visible.
    SSTab2_->setUsesScrollButtons(false);
    SSTab2_->setElideMode(Qt::ElideNone);
    QFont pequena = SSTab2_->tabBar()->font();
    pequena.setPointSize(8);
    SSTab2_->tabBar()->setFont(pequena);
    SSTab2_->setIconSize(QSize(12, 12));

    ficheros_ = new PestanaFicheros(lista_, *imagenes_);
    analizaCd_ = new PestanaAnalizaCD(unidades_);
    mascarasTab_ = new PestanaMascaras(bd_, avisos_);
    listados_ = new PestanaListados(bd_, *imagenes_, dirPrograma_, *prgLoad_, avisos_);
    preparar_ = new PestanaPrepararCD;
    auto* acerca = new QWidget;
    auto* lblAcerca = Control<QLabel>(acerca, "lblAcerca", TextoAcercaDe() + "\n\n" + TextoCarpetaCatalogo(dirPrograma_));
    lblAcerca->setAlignment(Qt::AlignCenter);
    lblAcerca->setWordWrap(true);
    (new QVBoxLayout(acerca))->addWidget(lblAcerca);
    const std::pair<QWidget*, const char*> pestanas[] = {
        {ficheros_, "abierta"}, {analizaCd_, "cd"}, {mascarasTab_, "mascara"}, {baseDatos_, "BD"},
        {listados_, "list"},    {preparar_, "cdlibro"}, {acerca, "nota"}};
    const QStringList titulos = {"Ficheros", "Analiza CD", "Mascaras", "Base de datos", "Listados",
                                 "Preparar CD", "Acerca de,,,"};
    for (int i = 0; i < 7; ++i)
        SSTab2_->addTab(pestanas[i].first, imagenes_->Pequena(QString::fromLatin1(pestanas[i].second)), titulos[i]);

    // Top to bottom as designed; the extra room goes to the upper area and the
    // tabs in the design's proportions.
    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(Twips(120), 0, Twips(120), Twips(60));
    columna->setSpacing(Twips(90));
    columna->addWidget(prgLoad_);
    columna->addWidget(arriba_, 3255);
    columna->addWidget(SSTab2_, 4695);

    connect(analizaCd_, &PestanaAnalizaCD::CambioUnidad, this, &frmVaro::Drive1_Change);
    connect(analizaCd_, &PestanaAnalizaCD::Explorar, this, &frmVaro::cmdExplorar_Click);
    connect(analizaCd_, &PestanaAnalizaCD::Graba, this, &frmVaro::cmdGraba_Click);
    connect(ficheros_, &PestanaFicheros::Nueva, this, &frmVaro::cmdNueva_Click);
    connect(ficheros_, &PestanaFicheros::Busca, this, &frmVaro::cmdBusca_Click);
    connect(ficheros_, &PestanaFicheros::Analiza, this, &frmVaro::cmdAnaliza_Click);
    connect(ficheros_, &PestanaFicheros::Compara, this, &frmVaro::cmdCompara_Click);
    connect(ficheros_, &PestanaFicheros::Genera, this, &frmVaro::cmdGenera_Click);
    connect(ficheros_, &PestanaFicheros::VerAuto, this, &frmVaro::cmdVerAuto_Click);
    connect(ficheros_, &PestanaFicheros::Soltadas, this, &frmVaro::lstVBusca_OLEDragDrop);
    connect(ficheros_, &PestanaFicheros::Tecla, this, &frmVaro::lstVBusca_KeyDown);
    connect(baseDatos_, &PestanaBaseDatos::Tecla, this, &frmVaro::lstVBD_KeyDown);
    connect(baseDatos_, &PestanaBaseDatos::Limpiar, this, &frmVaro::cmbLimpia_Click);
    connect(preparar_, &PestanaPrepararCD::PonerTags, this, &frmVaro::cmdWriteTag_Click);
    connect(preparar_, &PestanaPrepararCD::BorrarTags, this, &frmVaro::cmdDeleteTag_Click);
    connect(preparar_, &PestanaPrepararCD::Autorun, this, &frmVaro::cmdauto_Click);
    colocaVentana();
}

frmVaro::~frmVaro()
{
    // The controls paint with the image lists and the work list: they go first.
    hide();
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
    delete imagenes_;
}

QString frmVaro::RutaAjustes(const QString& dirPrograma) { return dirPrograma + QStringLiteral("/lodrin.ini"); }

// The design's size is where the window opens and its minimum, unless the
// screen is smaller (a small screen at a large scale); a size and place kept
// from the last run come back.
void frmVaro::colocaVentana()
{
    QSize diseno(Twips(10680), Twips(8355));
    if (const QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen())
        diseno = diseno.boundedTo(pantalla->availableGeometry().size() - QSize(0, Twips(600)));
    setMinimumSize(diseno);
    resize(diseno);
    const QSettings ajustes(RutaAjustes(dirPrograma_), QSettings::IniFormat);
    restoreGeometry(ajustes.value(QStringLiteral("frmVaro/geometria")).toByteArray());
}

void frmVaro::closeEvent(QCloseEvent* e)
{
    QSettings ajustes(RutaAjustes(dirPrograma_), QSettings::IniFormat);
    ajustes.setValue(QStringLiteral("frmVaro/geometria"), saveGeometry());
    QWidget::closeEvent(e);
}

void frmVaro::Form_Load()
{
    // 1 to 3: the work list, its columns and pictures.
    ficheros_->Prepara();
    // 4: the buttons.
    Aplica(Suceso::Arranque, false);
    // 5
    analizaCd_->PonGrabarImagenes(true);
    // 6 and 12: the tree-order chooser, no picture shown.
    arriba_->Prepara();
    // 7
    listados_->Prepara();
    // 8
    bd_.autoresNuevos().LimpiaAutoresNuevos();
    // 9: the drive check.
    Drive1_Change();
    // 10
    bd_.AbreBaseDatos();
    if (!bd_.SoloLectura())
        OrdenaCopias(bd_, dirPrograma_);
    // 11
    baseDatos_->Prepara();
    // 13
    mascarasTab_->Anade();
    // 14
    prgLoad_->hide();
    // 15
    analizaCd_->PonAyuda(TextoInfoCD());
    mascarasTab_->PonAyuda(TextoInfoMasc());
    listados_->PonAyuda(TextoListado());
}

void frmVaro::Aplica(Suceso suceso, bool cdListo)
{
    habilitados_ = Habilita(habilitados_, suceso, cdListo);
    ficheros_->Habilita(habilitados_);
    analizaCd_->Habilita(habilitados_);
    preparar_->Habilita(habilitados_);
}

void frmVaro::RefrescaLista() { ficheros_->Refresca(); }

ElectorDecodificacion& frmVaro::Elector()
{
    if (elector_)
        return *elector_;
    if (!dlgDecodif_)
        dlgDecodif_ = new DlgDecodif(*imagenes_, avisos_, this);
    return *dlgDecodif_;
}

EntradaDatos& frmVaro::Entrada() { return entrada_ ? *entrada_ : entradaDialogo_; }
