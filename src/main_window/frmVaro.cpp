#include "main_window/frmVaro.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QUndoStack>
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
#include "store/sesion.h"
#include "worklist/pestanaficheros.h"

frmVaro::frmVaro(Catalogo& bd, Unidades& unidades, Avisos& avisos, const QString& dirPrograma, QWidget* parent)
    : QWidget(parent),
      sesion_(new SesionCatalogo(bd, dirPrograma, this)),
      unidades_(unidades),
      avisos_(avisos),
      dirPrograma_(dirPrograma),
      imagenes_(new ListasImagenes),
      entradaDialogo_(this)
{
    setObjectName(QStringLiteral("frmVaro"));
    setWindowTitle(TituloVentana(sesion_->ubicacion()));

    prgLoad_ = new BarraAvance(this);
    cmdCancelar_ = Control<QPushButton>(this, "cmdCancelar", QStringLiteral("Cancelar"),
                                        QStringLiteral("Para el trabajo en curso (Esc)"));
    cmdCancelar_->hide();
    // Escape cancels only while work runs; otherwise it is the search box's
    // and the dialogs'.
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape_->setEnabled(false);
    cmdCancelar_->setEnabled(false);
    // The status line keeps what the last task did; a control's own hint
    // shows over it while the pointer is on that control.
    barraEstado_ = Control<QStatusBar>(this, "barraEstado");
    barraEstado_->setSizeGripEnabled(false);
    lblEstado_ = Control<QLabel>(barraEstado_, "lblEstado");
    barraEstado_->addWidget(lblEstado_, 1);
    deshacer_ = new QUndoStack(this);
    Tv_ = new ArbolTrabajo(*imagenes_);
    baseDatos_ = new PestanaBaseDatos(*sesion_, *imagenes_);
    arriba_ = new AreaSuperior(*sesion_, *imagenes_, *prgLoad_, avisos_, *baseDatos_, Tv_, this);
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
    mascarasTab_ = new PestanaMascaras(*sesion_, avisos_);
    listados_ = new PestanaListados(*sesion_, *imagenes_, *prgLoad_, avisos_);
    preparar_ = new PestanaPrepararCD;
    auto* acerca = new QWidget;
    lblAcerca_ = Control<QLabel>(acerca, "lblAcerca", TextoAcercaDe() + "\n\n" + TextoCarpetaCatalogo(dirPrograma_));
    lblAcerca_->setAlignment(Qt::AlignCenter);
    lblAcerca_->setWordWrap(true);
    (new QVBoxLayout(acerca))->addWidget(lblAcerca_);
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
    columna->setMenuBar(creaMenus());
    auto* avance = new QHBoxLayout;
    avance->addWidget(prgLoad_, 1);
    avance->addWidget(cmdCancelar_);
    columna->addLayout(avance);
    columna->addWidget(arriba_, 3255);
    columna->addWidget(SSTab2_, 4695);
    columna->addWidget(barraEstado_);
    ponAtajos();
    // Ctrl+Tab and Ctrl+Shift+Tab turn the tabs wherever the keyboard is.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this), &QShortcut::activated, this,
            [this] { cambiaPestana(1); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), this), &QShortcut::activated, this,
            [this] { cambiaPestana(-1); });
    // Tab follows the eye on "Base de datos": the search box, its list, then
    // "Limpia BD" to their right.
    auto* busca = baseDatos_->findChild<QWidget*>(QStringLiteral("txtBuscaBD"));
    auto* lstVBD = baseDatos_->findChild<QWidget*>(QStringLiteral("lstVBD"));
    setTabOrder(busca, lstVBD);
    setTabOrder(lstVBD, baseDatos_->findChild<QWidget*>(QStringLiteral("cmbLimpia")));
    conecta();
    colocaVentana();
}

frmVaro::~frmVaro()
{
    // The controls paint with the image lists and the work list: they go first.
    hide();
    sesion_->bd().PonAvisoEspera({});
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
    delete imagenes_;
}

// Every handler runs through the one error boundary. After a long task the
// keyboard comes back to the control used, or the next one on the road.
void frmVaro::conecta()
{
    const auto protegido = [this](const char* que, void (frmVaro::*manejador)(),
                                  std::initializer_list<const char*> foco = {}) {
        const std::vector<const char*> luego(foco);
        return [this, que, manejador, luego] {
            Protege(avisos_, QString::fromUtf8(que), [&] { (this->*manejador)(); });
            for (const char* nombre : luego) {
                auto* c = findChild<QWidget*>(QString::fromUtf8(nombre));
                if (c && c->isEnabled() && c->isVisible()) {
                    c->setFocus(Qt::OtherFocusReason);
                    break;
                }
            }
        };
    };
    connect(analizaCd_, &PestanaAnalizaCD::CambioUnidad, this, protegido("leer la unidad", &frmVaro::Drive1_Change));
    connect(analizaCd_, &PestanaAnalizaCD::Explorar, this,
            protegido("explorar el CD", &frmVaro::cmdExplorar_Click, {"txtCDROM"}));
    connect(analizaCd_, &PestanaAnalizaCD::Graba, this,
            protegido("grabar el CD", &frmVaro::cmdGraba_Click, {"cmdGraba", "txtCDROM"}));
    connect(ficheros_, &PestanaFicheros::Nueva, this, protegido("vaciar la lista", &frmVaro::cmdNueva_Click));
    connect(ficheros_, &PestanaFicheros::Busca, this,
            protegido("buscar los ficheros", &frmVaro::cmdBusca_Click, {"cmdBusca", "cmdAnaliza", "lstVBusca"}));
    connect(ficheros_, &PestanaFicheros::Analiza, this,
            protegido("analizar la lista", &frmVaro::cmdAnaliza_Click, {"cmdAnaliza", "cmdGenera", "lstVBusca"}));
    connect(ficheros_, &PestanaFicheros::Compara, this, protegido("comparar la lista", &frmVaro::cmdCompara_Click));
    connect(ficheros_, &PestanaFicheros::Genera, this, protegido("hacer el árbol", &frmVaro::cmdGenera_Click));
    connect(ficheros_, &PestanaFicheros::VerAuto, this, protegido("ver el Autorun", &frmVaro::cmdVerAuto_Click));
    connect(ficheros_, &PestanaFicheros::Soltadas, this, [this](const QStringList& rutas) {
        Protege(avisos_, QStringLiteral("añadir a la lista"), [&] { lstVBusca_OLEDragDrop(rutas); });
    });
    connect(ficheros_, &PestanaFicheros::Tecla, this, [this](int tecla) {
        Protege(avisos_, QStringLiteral("cambiar la lista"), [&] { lstVBusca_KeyDown(tecla); });
    });
    connect(baseDatos_, &PestanaBaseDatos::Tecla, this, [this](int tecla) {
        Protege(avisos_, QStringLiteral("cambiar la base de datos"), [&] { lstVBD_KeyDown(tecla); });
    });
    connect(baseDatos_, &PestanaBaseDatos::Limpiar, this, protegido("limpiar la base de datos", &frmVaro::cmbLimpia_Click));
    connect(preparar_, &PestanaPrepararCD::PonerTags, this, protegido("poner los tag's", &frmVaro::cmdWriteTag_Click));
    connect(preparar_, &PestanaPrepararCD::BorrarTags, this, protegido("borrar los tag's", &frmVaro::cmdDeleteTag_Click));
    connect(preparar_, &PestanaPrepararCD::Autorun, this, protegido("escribir el Autorun", &frmVaro::cmdauto_Click));
    // Failures told by a tab of its own accord go through the same boundary.
    const auto dice = [this](const char* que) {
        return [this, que](const QString& mensaje) {
            Protege(avisos_, QString::fromUtf8(que), [&] { throw LodrinError(mensaje); });
        };
    };
    connect(analizaCd_, &PestanaAnalizaCD::Fallo, this, dice("leer las unidades"));
    connect(baseDatos_, &PestanaBaseDatos::Fallo, this, dice("buscar en el catálogo"));
    connect(prgLoad_, &BarraAvance::Trabajando, this, &frmVaro::trabajando);
    connect(cmdCancelar_, &QPushButton::clicked, prgLoad_, &BarraAvance::Cancela);
    connect(escape_, &QShortcut::activated, prgLoad_, &BarraAvance::Cancela);
    muestraEsperas();
    connect(sesion_, &SesionCatalogo::Cambiado, this, &frmVaro::otroCatalogo);
}

// While long work runs only "Cancelar" (and Escape) can be used.
void frmVaro::trabajando(bool si)
{
    cmdCancelar_->setVisible(si);
    cmdCancelar_->setEnabled(si);
    escape_->setEnabled(si);
    for (QWidget* w : {static_cast<QWidget*>(arriba_), static_cast<QWidget*>(SSTab2_),
                       static_cast<QWidget*>(layout()->menuBar())})
        w->setEnabled(!si);
}

// The design's size below the menu bar is where the window opens and its
// minimum, unless the screen is smaller (a small screen at a large scale);
// a size and place kept from the last run come back, from the person's
// configuration (lodrin.ini beside the catalogue is theirs, only read).
void frmVaro::colocaVentana()
{
    // The menu bar and the status line come on top of the design's height.
    QSize diseno(Twips(10680), Twips(8355) + layout()->menuBar()->sizeHint().height() +
                                   barraEstado_->sizeHint().height() + layout()->spacing());
    if (const QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen())
        diseno = diseno.boundedTo(pantalla->availableGeometry().size() - QSize(0, Twips(600)));
    setMinimumSize(diseno);
    resize(diseno);
    const QSettings ajustes(kAjustes, kAjustes);
    restoreGeometry(ajustes.value(QStringLiteral("frmVaro/geometria")).toByteArray());
}

void frmVaro::closeEvent(QCloseEvent* e)
{
    // Closed while work runs: the work is cancelled first, the window stays.
    if (prgLoad_->isVisible()) {
        prgLoad_->Cancela();
        e->ignore();
        return;
    }
    QSettings ajustes(kAjustes, kAjustes);
    ajustes.setValue(QStringLiteral("frmVaro/geometria"), saveGeometry());
    ajustes.setValue(QStringLiteral("frmVaro/columnas"), ficheros_->EstadoColumnas());
    QWidget::closeEvent(e);
}

void frmVaro::Form_Load()
{
    // 1 to 3: the work list, its columns and pictures, as widened last time.
    ficheros_->Prepara(QSettings(kAjustes, kAjustes).value(QStringLiteral("frmVaro/columnas")).toByteArray());
    // 4: the buttons.
    Aplica(Suceso::Arranque, false);
    // 5
    analizaCd_->PonGrabarImagenes(true);
    // 6 and 12: the tree-order chooser, no picture shown.
    arriba_->Prepara();
    // 7
    listados_->Prepara();
    // 8
    sesion_->bd().autoresNuevos().LimpiaAutoresNuevos();
    // 9: the drive check.
    Drive1_Change();
    // 10
    sesion_->bd().AbreBaseDatos();
    // A catalogue of a newer program opens for reading only, and says so.
    if (!sesion_->bd().aviso().isEmpty())
        avisos_.Informa(sesion_->bd().aviso());
    if (!sesion_->bd().SoloLectura())
        OrdenaCopias(sesion_->bd(), sesion_->carpeta());
    RecuerdaInicial();
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

namespace {
const QString kGrabaSinExplorar = QStringLiteral("Explora el CD para poder grabarlo");
}

void frmVaro::Aplica(Suceso suceso, bool cdListo)
{
    habilitados_ = Habilita(habilitados_, suceso, cdListo);
    muestraHabilitados();
}

void frmVaro::muestraHabilitados()
{
    ficheros_->Habilita(habilitados_);
    analizaCd_->Habilita(habilitados_);
    preparar_->Habilita(habilitados_);
    // "Graba" off says why, on the button and, once there is a list, below.
    const bool graba = habilitados_[Boton::cmdGraba];
    findChild<QWidget*>(QStringLiteral("cmdGraba"))->setStatusTip(graba ? QString() : kGrabaSinExplorar);
    if (!graba && lista_.Cuenta() > 0)
        ponEstado(kGrabaSinExplorar);
    else if (lblEstado_->text() == kGrabaSinExplorar)
        ponEstado(QString());
}

void frmVaro::ponEstado(const QString& texto) { lblEstado_->setText(texto); }

bool frmVaro::event(QEvent* e)
{
    // A control's status tip, as a main window would show it.
    if (e->type() == QEvent::StatusTip) {
        barraEstado_->showMessage(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QWidget::event(e);
}

void frmVaro::cambiaPestana(int paso)
{
    const int n = SSTab2_->count();
    SSTab2_->setCurrentIndex((SSTab2_->currentIndex() + paso + n) % n);
    QWidget* pagina = SSTab2_->currentWidget();
    for (QWidget* w = pagina->nextInFocusChain(); w != pagina; w = w->nextInFocusChain()) {
        if (pagina->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    SSTab2_->tabBar()->setFocus(Qt::TabFocusReason);
}

void frmVaro::RefrescaLista() { ficheros_->Refresca(); }

void frmVaro::PonLista(const ListaTrabajo& lista, const Habilitados& habilitados)
{
    lista_.Reemplaza(lista);
    habilitados_ = habilitados;
    muestraHabilitados();
    RefrescaLista();
}

ElectorDecodificacion& frmVaro::Elector()
{
    if (elector_)
        return *elector_;
    if (!dlgDecodif_)
        dlgDecodif_ = new DlgDecodif(*imagenes_, avisos_, this);
    return *dlgDecodif_;
}

const QString& frmVaro::DirPrograma() const { return sesion_->carpeta(); }

EntradaDatos& frmVaro::Entrada() { return entrada_ ? *entrada_ : entradaDialogo_; }

void frmVaro::muestraEsperas()
{
    // A write that meets another program's lock shows its wait on the bar,
    // with "Cancelar", unless a long operation already shows its own there.
    sesion_->bd().PonAvisoEspera([this, propia = false](qint64 esperado, qint64 limite) mutable {
        if (esperado < 0) {
            if (propia)
                prgLoad_->Termina();
            propia = false;
            return true;
        }
        if (!propia && prgLoad_->isHidden()) {
            propia = true;
            prgLoad_->Empieza(int(limite));
        }
        if (propia)
            prgLoad_->Avanza(int(esperado));
        return !prgLoad_->Cancelado();
    });
}
