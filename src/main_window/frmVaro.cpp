#include "main_window/frmVaro.h"

#include <QAction>
#include <algorithm>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include "catalogue/catalogo.h"
#include "common/avisos.h"
#include "common/listasimagenes.h"
#include "worklist/modelolistatrabajo.h"
#include "main_window/textosayuda.h"

void CajaImagen::mousePressEvent(QMouseEvent* e)
{
    QLabel::mousePressEvent(e);
    emit Click();
}

void ComboImagen::showPopup()
{
    emit DropDown();
    QComboBox::showPopup();
}

namespace {

template <typename T>
T* control(QWidget* padre, const char* nombre, const QString& texto = QString(), const QString& ayuda = QString())
{
    auto* w = new T(padre);
    w->setObjectName(QString::fromUtf8(nombre));
    if constexpr (std::is_base_of_v<QLabel, T> || std::is_base_of_v<QAbstractButton, T> ||
                  std::is_base_of_v<QLineEdit, T>)
        w->setText(texto);
    if (!ayuda.isEmpty())
        w->setToolTip(ayuda);
    return w;
}

void situa(QWidget* w, int x, int y, int ancho, int alto) { w->setGeometry(x, y, ancho, alto); }

QTreeWidget* arbol(QWidget* padre, const char* nombre, const QString& ayuda)
{
    auto* t = control<QTreeWidget>(padre, nombre, QString(), ayuda);
    t->setHeaderHidden(true);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return t;
}

QTreeWidget* informe(QWidget* padre, const char* nombre, const QString& ayuda)
{
    auto* t = control<QTreeWidget>(padre, nombre, QString(), ayuda);
    t->setRootIsDecorated(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setUniformRowHeights(true);
    return t;
}

}  // namespace

frmVaro::frmVaro(Catalogo& bd_, Unidades& unidades_, Avisos& avisos_, const QString& dirPrograma_, QWidget* parent)
    : QWidget(parent),
      bd(bd_),
      unidades(unidades_),
      avisos(avisos_),
      dirPrograma(dirPrograma_),
      imagenes(new ListasImagenes),
      modelo_(nullptr)
{
    setObjectName(QStringLiteral("frmVaro"));
    setWindowTitle(QStringLiteral("Lodrin"));
    setFixedSize(Twips(10680), Twips(8355));
    creaControles();
    conecta();
}

frmVaro::~frmVaro()
{
    // The controls paint with the image lists and the work list: they go first.
    hide();
    qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
    delete modelo_;
    delete imagenes;
}

void frmVaro::creaControles()
{
    prgLoad = control<QProgressBar>(this, "prgLoad");
    situa(prgLoad, Twips(360), Twips(0), Twips(10095), Twips(255));
    Tv = arbol(this, "Tv", QStringLiteral("Arbol que nos muestra la exploracion"));
    situa(Tv, Twips(360), Twips(240), Twips(3495), Twips(3255));
    cmbISort = control<ComboImagen>(this, "cmbISort");
    cmbISort->setPlaceholderText(QStringLiteral("<pon la forma de mostrar la BD>"));
    situa(cmbISort, Twips(3960), Twips(240), Twips(3735), Twips(315));
    tvBD = arbol(this, "tvBD", QStringLiteral("Arbol que nos muestra la BD"));
    situa(tvBD, Twips(3960), Twips(600), Twips(3495), Twips(2895));
    imgBD = control<CajaImagen>(this, "imgBD", QString(), QStringLiteral("Pulsa para ver la siguiente..."));
    imgBD->setFrameShape(QFrame::StyledPanel);
    imgBD->setAlignment(Qt::AlignCenter);
    imgBD->setScaledContents(true);
    situa(imgBD, Twips(7560), Twips(600), Twips(3015), Twips(2895));
    SSTab2 = control<QTabWidget>(this, "SSTab2");
    situa(SSTab2, Twips(120), Twips(3600), Twips(10455), Twips(4695));
    // Seven tabs in a single row, all visible.
    SSTab2->setUsesScrollButtons(false);
    SSTab2->setElideMode(Qt::ElideNone);
    SSTab2->tabBar()->setFont(QFont(font().family(), 8));
    SSTab2->setIconSize(QSize(12, 12));

    // "Ficheros"
    auto* ficheros = new QWidget;
    lstVBusca = control<QTreeView>(ficheros, "lstVBusca", QString(),
                                   QStringLiteral("Selecciona y arrastra las capetas o ficheros aqui."));
    lstVBusca->setRootIsDecorated(false);
    lstVBusca->setUniformRowHeights(true);
    lstVBusca->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstVBusca->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstVBusca->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstVBusca->setAcceptDrops(true);
    lstVBusca->viewport()->setAcceptDrops(true);
    lstVBusca->setDropIndicatorShown(false);
    lstVBusca->setContextMenuPolicy(Qt::CustomContextMenu);
    situa(lstVBusca, 6, 6, 566, 268);
    cmdNueva = control<QPushButton>(ficheros, "cmdNueva", "Nueva", "Borra la lista");
    cmdBusca = control<QPushButton>(ficheros, "cmdBusca", "Busca",
                                    "Saca todos los ficheros mp3 de las carpetas de la lista");
    cmdAnaliza = control<QPushButton>(ficheros, "cmdAnaliza", "Analiza",
                                      "Analiza el nombre del fichero para darnos Autor/disco/Cancion/Posicion");
    cmdCompara = control<QPushButton>(ficheros, "cmdCompara", "Compara",
                                      "Analiza los ficheros de la lista para decirnos si estan en la base de datos");
    cmdGenera = control<QPushButton>(ficheros, "cmdGenera", "Genera", "Nos hace el arbol por Autor/disco");
    cmdVerAuto = control<QPushButton>(ficheros, "cmdVerAuto", "Ver Autorun",
                                      QStringLiteral("Nos enseña como seria el Autorun"));
    int y = 6;
    for (QPushButton* b : {cmdNueva, cmdBusca, cmdAnaliza, cmdCompara, cmdGenera, cmdVerAuto}) {
        situa(b, 580, y, 100, 30);
        y += 38;
    }
    SSTab2->addTab(ficheros, imagenes->Pequena("abierta"), QStringLiteral("Ficheros"));

    // "Analiza CD"
    auto* analiza = new QWidget;
    Drive1 = control<QComboBox>(analiza, "Drive1");
    situa(Drive1, 6, 6, 250, 26);
    Label2 = control<QLabel>(analiza, "Label2", "Serial: ");
    situa(Label2, 6, 40, 50, 20);
    lbserial = control<QLabel>(analiza, "lbserial");
    situa(lbserial, 58, 40, 198, 20);
    lbName = control<QLabel>(analiza, "lbName");
    situa(lbName, 6, 62, 250, 20);
    Label1 = control<QLabel>(analiza, "Label1", "Descripcion:");
    situa(Label1, 6, 88, 250, 20);
    txtCDROM = control<QLineEdit>(analiza, "txtCDROM", QString(),
                                  "Pon la descripcion que quieres que identifique al Cd a catalogar");
    situa(txtCDROM, 6, 108, 250, 26);
    cmdExplorar = control<QPushButton>(analiza, "cmdExplorar", "Explorar",
                                       "Una vez hemos metido el CD, vamos a sacar la informacion.");
    situa(cmdExplorar, 6, 144, 120, 30);
    cmdGraba = control<QPushButton>(analiza, "cmdGraba", "Graba", "Graba la informacion extraida en la BD");
    situa(cmdGraba, 136, 144, 120, 30);
    chkGrabImg = control<QCheckBox>(analiza, "chkGrabImg", "Grabar imagenes", "Si guardaremos las imagenes en la BD.");
    situa(chkGrabImg, 6, 182, 250, 24);
    lblInfoCD = control<QLabel>(analiza, "lblInfoCD");
    lblInfoCD->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInfoCD->setWordWrap(true);
    lblInfoCD->setFont(QFont(font().family(), 8));
    situa(lblInfoCD, 266, 6, 418, 270);
    SSTab2->addTab(analiza, imagenes->Pequena("cd"), QStringLiteral("Analiza CD"));

    // "Mascaras"
    auto* mascarasTab = new QWidget;
    lstMascaras = informe(mascarasTab, "lstMascaras", "Mascaras que tenemos dadas de alta");
    lstMascaras->setHeaderLabels({QStringLiteral("Mascara")});
    situa(lstMascaras, 6, 6, 200, 268);
    txtAnadir = control<QLineEdit>(mascarasTab, "txtAñadir", QString(), QStringLiteral("Mascara a añadir"));
    situa(txtAnadir, 216, 6, 160, 26);
    cmdAnadir = control<QPushButton>(mascarasTab, "cmdAñadir", QStringLiteral("Añadir"), QStringLiteral("Añadir mascara"));
    situa(cmdAnadir, 384, 4, 100, 30);
    lblInfoMasc = control<QLabel>(mascarasTab, "lblInfoMasc");
    lblInfoMasc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblInfoMasc->setWordWrap(true);
    lblInfoMasc->setFont(QFont(font().family(), 8));
    situa(lblInfoMasc, 216, 44, 468, 230);
    SSTab2->addTab(mascarasTab, imagenes->Pequena("mascara"), QStringLiteral("Mascaras"));

    // "Base de datos"
    auto* base = new QWidget;
    lstVBD = informe(base, "lstVBD", "Informacion de la Base de Datos");
    lstVBD->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstVBD->setColumnCount(6);
    lstVBD->setHeaderLabels({"posicion", "", "autor", "disco", "cancion", "cd"});
    lstVBD->headerItem()->setIcon(0, imagenes->Pequena("posicion"));
    lstVBD->headerItem()->setIcon(2, imagenes->Pequena("autor"));
    lstVBD->headerItem()->setIcon(3, imagenes->Pequena("disco"));
    lstVBD->headerItem()->setIcon(4, imagenes->Pequena("cancion"));
    lstVBD->headerItem()->setIcon(5, imagenes->Pequena("cd"));
    const int anchos[6] = {500, 0, 2440, 2440, 1440, 1440};
    for (int c = 0; c < 6; ++c)
        lstVBD->setColumnWidth(c, c == 1 ? 0 : std::max(Twips(anchos[c]), lstVBD->header()->sectionSizeHint(c)));
    lstVBD->setColumnHidden(1, true);
    situa(lstVBD, 6, 6, 566, 268);
    cmbLimpia = control<QPushButton>(base, "cmbLimpia", "Limpia BD");
    situa(cmbLimpia, 580, 6, 100, 30);
    Label10 = control<QLabel>(base, "Label10", "Elimina las referencias a cd, disco, autor no utilizadas.");
    Label10->setWordWrap(true);
    Label10->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    situa(Label10, 580, 44, 104, 120);
    SSTab2->addTab(base, imagenes->Pequena("BD"), QStringLiteral("Base de datos"));

    // "Listados"
    auto* listados = new QWidget;
    Label8 = control<QLabel>(listados, "Label8", "Cd");
    cmbCd = control<ComboImagen>(listados, "cmbCd", QString(), "Seleccionar un CD");
    cmbCd->setPlaceholderText(QStringLiteral("<elegir cd>"));
    Label4 = control<QLabel>(listados, "Label4", "Autor");
    cmbAutor = control<ComboImagen>(listados, "cmbAutor", QString(), "Seleccionar un autor");
    cmbAutor->setPlaceholderText(QStringLiteral("<elegir autor>"));
    Label7 = control<QLabel>(listados, "Label7", "Disco");
    cmbDisco = control<ComboImagen>(listados, "cmbDisco", QString(), "Seleccionar un disco");
    cmbDisco->setPlaceholderText(QStringLiteral("<elegir disco>"));
    Label9 = control<QLabel>(listados, "Label9", "Salida");
    txtSalida = control<QLineEdit>(listados, "txtSalida", "listado.htm", "Fichero donde dejaremos el listado");
    y = 6;
    for (auto [etiqueta, campo] : std::initializer_list<std::pair<QLabel*, QWidget*>>{
             {Label8, cmbCd}, {Label4, cmbAutor}, {Label7, cmbDisco}, {Label9, txtSalida}}) {
        situa(etiqueta, 6, y + 3, 50, 20);
        situa(campo, 60, y, 200, 26);
        y += 32;
    }
    chkCanciones = control<QCheckBox>(listados, "chkCanciones", "Poner canciones", "Poner las canciones en el listado?");
    situa(chkCanciones, 6, y, 250, 24);
    chkImagenes = control<QCheckBox>(listados, "chkImagenes", "Poner Imagenes", "Poner las imagenes en el listado?");
    situa(chkImagenes, 6, y + 26, 250, 24);
    cmdLstAutor = control<QPushButton>(listados, "cmdLstAutor", "Generar listado",
                                       "Hace un listado, por la consulta que hemos puesto");
    situa(cmdLstAutor, 6, y + 58, 130, 30);
    lblListado = control<QLabel>(listados, "lblListado");
    lblListado->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblListado->setWordWrap(true);
    lblListado->setFont(QFont(font().family(), 8));
    situa(lblListado, 270, 6, 414, 270);
    SSTab2->addTab(listados, imagenes->Pequena("list"), QStringLiteral("Listados"));

    // "Preparar CD"
    auto* preparar = new QWidget;
    cmdWriteTag = control<QPushButton>(preparar, "cmdWriteTag", "Poner Tag's");
    Label5 = control<QLabel>(preparar, "Label5",
                             "Grabar en los ficheros MP3 la informacion obtenida en forma de tag's. Solo la grabara en "
                             "caso de que no la tuviera grabada anteriormente.");
    cmdDeleteTag = control<QPushButton>(preparar, "cmdDeleteTag", "Borrar tag's");
    Label6 = control<QLabel>(preparar, "Label6",
                             "En el caso que queramos volver a escribir los tag's primero hemos de borrar los "
                             "contenidos.");
    cmdauto = control<QPushButton>(preparar, "cmdauto", "Autorun");
    Label3 = control<QLabel>(preparar, "Label3",
                             "Generar el fichero Autorun.dat que junto con Vistel.exe podemos poner en el CD para la "
                             "presentacion de los contenidos con caratulas.");
    y = 10;
    for (auto [boton, etiqueta] : std::initializer_list<std::pair<QPushButton*, QLabel*>>{
             {cmdWriteTag, Label5}, {cmdDeleteTag, Label6}, {cmdauto, Label3}}) {
        situa(boton, 6, y, 110, 30);
        etiqueta->setWordWrap(true);
        etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        situa(etiqueta, 126, y, 556, 48);
        y += 60;
    }
    SSTab2->addTab(preparar, imagenes->Pequena("cdlibro"), QStringLiteral("Preparar CD"));

    // "Acerca de,,,"
    auto* acerca = new QWidget;
    lblAcerca = control<QLabel>(acerca, "lblAcerca", TextoAcercaDe());
    lblAcerca->setAlignment(Qt::AlignCenter);
    lblAcerca->setWordWrap(true);
    situa(lblAcerca, 20, 20, 644, 240);
    SSTab2->addTab(acerca, imagenes->Pequena("nota"), QStringLiteral("Acerca de,,,"));
}

void frmVaro::conecta()
{
    connect(Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    connect(cmdExplorar, &QPushButton::clicked, this, &frmVaro::cmdExplorar_Click);
    connect(cmdNueva, &QPushButton::clicked, this, &frmVaro::cmdNueva_Click);
    connect(cmdBusca, &QPushButton::clicked, this, &frmVaro::cmdBusca_Click);
    connect(cmdAnaliza, &QPushButton::clicked, this, &frmVaro::cmdAnaliza_Click);
    connect(cmdCompara, &QPushButton::clicked, this, &frmVaro::cmdCompara_Click);
    connect(cmdGenera, &QPushButton::clicked, this, &frmVaro::cmdGenera_Click);
    connect(cmdVerAuto, &QPushButton::clicked, this, &frmVaro::cmdVerAuto_Click);
    connect(cmdGraba, &QPushButton::clicked, this, &frmVaro::cmdGraba_Click);
    connect(cmdAnadir, &QPushButton::clicked, this, &frmVaro::cmdAnadir_Click);
    connect(cmbLimpia, &QPushButton::clicked, this, &frmVaro::cmbLimpia_Click);
    connect(cmdLstAutor, &QPushButton::clicked, this, &frmVaro::cmdLstAutor_Click);
    connect(cmdWriteTag, &QPushButton::clicked, this, &frmVaro::cmdWriteTag_Click);
    connect(cmdDeleteTag, &QPushButton::clicked, this, &frmVaro::cmdDeleteTag_Click);
    connect(cmdauto, &QPushButton::clicked, this, &frmVaro::cmdauto_Click);
    connect(imgBD, &CajaImagen::Click, this, &frmVaro::imgBD_Click);
    connect(cmbISort, &QComboBox::activated, this, [this] { cmbISort_Click(); });
    connect(tvBD, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* n) { tvBD_NodeClick(n); });
    connect(lstVBD->header(), &QHeaderView::sectionClicked, this, &frmVaro::lstVBD_ColumnClick);
    connect(cmbCd, &ComboImagen::DropDown, this, &frmVaro::cmbCd_DropDown);
    connect(cmbAutor, &ComboImagen::DropDown, this, &frmVaro::cmbAutor_DropDown);
    connect(cmbDisco, &ComboImagen::DropDown, this, &frmVaro::cmbDisco_DropDown);
    connect(cmbCd, &QComboBox::activated, this, [this] { cmbCd_Click(); });
    connect(cmbAutor, &QComboBox::activated, this, [this] { cmbAutor_Click(); });
    connect(cmbDisco, &QComboBox::activated, this, [this] { cmbDisco_Click(); });

    lstVBusca->installEventFilter(this);
    lstVBusca->viewport()->installEventFilter(this);
    lstVBD->installEventFilter(this);

    // The menu "Podemos": Delete, F2 and F3 of the work list.
    auto* podemos = new QMenu(QStringLiteral("Podemos"), this);
    podemos->setObjectName(QStringLiteral("Podemos"));
    const std::pair<const char*, int> items[] = {
        {"Eliminar", Qt::Key_Delete}, {"Editar manualmente", Qt::Key_F2}, {"Volver a Analizar", Qt::Key_F3}};
    for (auto [texto, tecla] : items) {
        QAction* a = podemos->addAction(QString::fromUtf8(texto));
        a->setShortcut(QKeySequence(tecla));
        a->setShortcutContext(Qt::WidgetShortcut);  // the list handles its own keys
        connect(a, &QAction::triggered, this, [this, t = tecla] { lstVBusca_KeyDown(t); });
    }
    connect(lstVBusca, &QWidget::customContextMenuRequested, this,
            [this, podemos](const QPoint& p) { podemos->popup(lstVBusca->viewport()->mapToGlobal(p)); });
}

bool frmVaro::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (objeto == lstVBusca && (tecla == Qt::Key_Delete || tecla == Qt::Key_F2 || tecla == Qt::Key_F3)) {
            lstVBusca_KeyDown(tecla);
            return true;
        }
        if (objeto == lstVBD && (tecla == Qt::Key_Delete || tecla == Qt::Key_F2)) {
            lstVBD_KeyDown(tecla);
            return true;
        }
    }
    if (objeto == lstVBusca->viewport()) {
        if (evento->type() == QEvent::DragEnter || evento->type() == QEvent::DragMove) {
            auto* d = static_cast<QDropEvent*>(evento);
            if (d->mimeData()->hasUrls()) {
                d->acceptProposedAction();
                return true;
            }
        } else if (evento->type() == QEvent::Drop) {
            auto* d = static_cast<QDropEvent*>(evento);
            QStringList rutas;
            for (const QUrl& u : d->mimeData()->urls())
                if (u.isLocalFile())
                    rutas << u.toLocalFile();
            d->acceptProposedAction();
            lstVBusca_OLEDragDrop(rutas);
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

void frmVaro::Form_Load()
{
    // 1 to 3: the work list, its columns and pictures.
    lista.PonOrdenada(true);
    modelo_ = new ModeloListaTrabajo(lista, *imagenes, this);
    lstVBusca->setModel(modelo_);
    // The design widths, but never narrower than the header's text and picture.
    const int anchos[7] = {4800, 500, 1440, 1440, 1440, 400, 1000};
    for (int c = 0; c < 7; ++c)
        lstVBusca->setColumnWidth(c, std::max(Twips(anchos[c]), lstVBusca->header()->sectionSizeHint(c)));
    // 4: the buttons.
    Aplica(Suceso::Arranque, false);
    // 5
    chkGrabImg->setChecked(true);
    // 6: the tree-order chooser.
    cmbISort->clear();
    cmbISort->addItem(imagenes->Pequena("GrupoCD"), QStringLiteral("Arbol por CD's"));
    cmbISort->insertItem(0, imagenes->Pequena("GrupoAutor"), QStringLiteral("Arbol por Autores"));
    cmbISort->insertItem(1, imagenes->Pequena("GrupoCD"), QStringLiteral("Arbol por Discos"));
    cmbISort->setCurrentIndex(2);
    // 7
    for (QWidget* w : {static_cast<QWidget*>(cmbAutor), static_cast<QWidget*>(cmbDisco), static_cast<QWidget*>(cmbCd)})
        w->setProperty("Tag", QStringLiteral("0"));
    // 8
    bd.autoresNuevos().LimpiaAutoresNuevos();
    // 9: the drive check.
    Drive1_Change();
    // 10
    bd.AbreBaseDatos();
    // 11: lstVBD stays sorted by the column the browser sets.
    lstVBD->setSortingEnabled(true);
    lstVBD->sortByColumn(0, Qt::AscendingOrder);
    // 12
    imgBD->setProperty("Tag", QStringLiteral("0"));
    // 13
    cmdAnadir_Click();
    // 14
    prgLoad->hide();
    // 15
    lblInfoCD->setText(TextoInfoCD());
    lblInfoMasc->setText(TextoInfoMasc());
    lblListado->setText(TextoListado());
}

QPushButton* frmVaro::BotonDe(Boton b) const
{
    switch (b) {
    case Boton::cmdBusca: return cmdBusca;
    case Boton::cmdAnaliza: return cmdAnaliza;
    case Boton::cmdCompara: return cmdCompara;
    case Boton::cmdGraba: return cmdGraba;
    case Boton::cmdGenera: return cmdGenera;
    case Boton::cmdauto: return cmdauto;
    case Boton::cmdVerAuto: return cmdVerAuto;
    case Boton::cmdExplorar: return cmdExplorar;
    case Boton::cmdWriteTag: return cmdWriteTag;
    case Boton::cmdDeleteTag: return cmdDeleteTag;
    }
    return nullptr;
}

void frmVaro::Aplica(Suceso suceso, bool cdListo)
{
    habilitados = Habilita(habilitados, suceso, cdListo);
    for (int i = 0; i < kBotones; ++i)
        BotonDe(Boton(i))->setEnabled(habilitados.en[size_t(i)]);
}

void frmVaro::LeeSeleccion()
{
    if (!lstVBusca->selectionModel())
        return;
    for (int i = 1; i <= lista.Cuenta(); ++i)
        lista.Fila(i).seleccionada = false;
    for (const QModelIndex& ix : lstVBusca->selectionModel()->selectedRows())
        if (ix.row() < lista.Cuenta())
            lista.Fila(ix.row() + 1).seleccionada = true;
}

void frmVaro::RefrescaLista()
{
    modelo_->Refresca();
    QItemSelection seleccion;
    for (int i = 1; i <= lista.Cuenta(); ++i)
        if (lista.Fila(i).seleccionada)
            seleccion.select(modelo_->index(i - 1, 0), modelo_->index(i - 1, 6));
    lstVBusca->selectionModel()->select(seleccion, QItemSelectionModel::ClearAndSelect);
}

void frmVaro::lstVBusca_KeyDown(int tecla)
{
    LeeSeleccion();
    if (tecla == Qt::Key_F3)
        AnalizaSeleccionadas();
    else
        TeclaLista(tecla, false);
}

void frmVaro::lstVBD_KeyDown(int tecla) { TeclaLista(tecla, true); }
