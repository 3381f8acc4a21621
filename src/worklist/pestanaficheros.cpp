#include "worklist/pestanaficheros.h"

#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "common/controles.h"
#include "common/twips.h"
#include "worklist/listatrabajo.h"
#include "worklist/modelolistatrabajo.h"

PestanaFicheros::PestanaFicheros(ListaTrabajo& lista, const ListasImagenes& imagenes, QWidget* parent)
    : QWidget(parent), lista_(lista), modelo_(new ModeloListaTrabajo(lista, imagenes, this))
{
    setObjectName(QStringLiteral("Ficheros"));
    lstVBusca = Control<QTreeView>(this, "lstVBusca", QString(),
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
    lstVBusca->setModel(modelo_);
    cmdNueva = Control<QPushButton>(this, "cmdNueva", "Nueva", "Borra la lista");
    cmdBusca = Control<QPushButton>(this, "cmdBusca", "Busca", "Saca todos los ficheros mp3 de las carpetas de la lista");
    cmdAnaliza = Control<QPushButton>(this, "cmdAnaliza", "Analiza",
                                      "Analiza el nombre del fichero para darnos Autor/disco/Cancion/Posicion");
    cmdCompara = Control<QPushButton>(this, "cmdCompara", "Compara",
                                      "Analiza los ficheros de la lista para decirnos si estan en la base de datos");
    cmdGenera = Control<QPushButton>(this, "cmdGenera", "Genera", "Nos hace el arbol por Autor/disco");
    cmdVerAuto = Control<QPushButton>(this, "cmdVerAuto", "Ver Autorun", QStringLiteral("Nos enseña como seria el Autorun"));

    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(6, 6, 6, 6);
    fila->addWidget(lstVBusca, 1);
    auto* botones = new QVBoxLayout;
    for (QPushButton* b : {cmdNueva, cmdBusca, cmdAnaliza, cmdCompara, cmdGenera, cmdVerAuto}) {
        b->setMinimumWidth(100);
        botones->addWidget(b);
    }
    botones->addStretch();
    fila->addLayout(botones);

    connect(cmdNueva, &QPushButton::clicked, this, &PestanaFicheros::Nueva);
    connect(cmdBusca, &QPushButton::clicked, this, &PestanaFicheros::Busca);
    connect(cmdAnaliza, &QPushButton::clicked, this, &PestanaFicheros::Analiza);
    connect(cmdCompara, &QPushButton::clicked, this, &PestanaFicheros::Compara);
    connect(cmdGenera, &QPushButton::clicked, this, &PestanaFicheros::Genera);
    connect(cmdVerAuto, &QPushButton::clicked, this, &PestanaFicheros::VerAuto);
    lstVBusca->installEventFilter(this);
    lstVBusca->viewport()->installEventFilter(this);
    connect(lstVBusca->header(), &QHeaderView::sectionResized, this, [this] {
        if (!repartiendo_)
            repartir_ = false;
    });

    // The menu "Podemos": the keys the list handles itself, named in Spanish.
    auto* podemos = new QMenu(QStringLiteral("Podemos"), this);
    podemos->setObjectName(QStringLiteral("Podemos"));
    const std::pair<const char*, int> items[] = {
        {"Eliminar\tSupr", Qt::Key_Delete}, {"Editar manualmente\tF2", Qt::Key_F2}, {"Volver a Analizar\tF3", Qt::Key_F3}};
    for (auto [texto, tecla] : items)
        connect(podemos->addAction(QString::fromUtf8(texto)), &QAction::triggered, this,
                [this, t = tecla] { emit Tecla(t); });
    connect(lstVBusca, &QWidget::customContextMenuRequested, this,
            [this, podemos](const QPoint& p) { podemos->popup(lstVBusca->viewport()->mapToGlobal(p)); });
}

void PestanaFicheros::Prepara(const QByteArray& columnas)
{
    lista_.PonOrdenada(true);
    Refresca();
    // Every column can be widened by hand. At the opening size the file name
    // shows its first twenty characters, and author, disc and song share
    // the rest of the list's width (reparte); position and mask may need
    // the scroll bar. The others keep the design widths, never narrower than
    // the header's text and picture.
    const int anchos[7] = {0, 500, 1200, 1200, 1200, 400, 1000};
    QHeaderView* cabecera = lstVBusca->header();
    cabecera->setStretchLastSection(false);
    cabecera->setSectionResizeMode(QHeaderView::Interactive);
    cabecera->setMinimumSectionSize(std::min(cabecera->minimumSectionSize(), Twips(500)));
    lstVBusca->setColumnWidth(0, lstVBusca->fontMetrics().horizontalAdvance(QString(20, QLatin1Char('n'))) +
                                     lstVBusca->style()->pixelMetric(QStyle::PM_SmallIconSize) + 16);
    for (int c = 1; c < 7; ++c)
        lstVBusca->setColumnWidth(c, std::max(Twips(anchos[c]), cabecera->sectionSizeHint(c)));
    if (!columnas.isEmpty())
        cabecera->restoreState(columnas);
    repartir_ = columnas.isEmpty();
}

void PestanaFicheros::reparte()
{
    const int resto = lstVBusca->viewport()->width() - lstVBusca->columnWidth(0) - lstVBusca->columnWidth(1);
    const QScopedValueRollback<bool> ocupado(repartiendo_, true);
    for (int c = columna::kAutor; c <= columna::kCancion; ++c)
        lstVBusca->setColumnWidth(c, std::max(Twips(1200), resto / 3));
}

QByteArray PestanaFicheros::EstadoColumnas() const { return lstVBusca->header()->saveState(); }

void PestanaFicheros::Habilita(const Habilitados& h)
{
    cmdBusca->setEnabled(h[Boton::cmdBusca]);
    cmdAnaliza->setEnabled(h[Boton::cmdAnaliza]);
    cmdCompara->setEnabled(h[Boton::cmdCompara]);
    cmdGenera->setEnabled(h[Boton::cmdGenera]);
    cmdVerAuto->setEnabled(h[Boton::cmdVerAuto]);
}

void PestanaFicheros::LeeSeleccion()
{
    for (int i = 1; i <= lista_.Cuenta(); ++i)
        lista_.Fila(i).seleccionada = false;
    for (const QModelIndex& ix : lstVBusca->selectionModel()->selectedRows())
        if (ix.row() < lista_.Cuenta())
            lista_.Fila(ix.row() + 1).seleccionada = true;
}

void PestanaFicheros::Refresca()
{
    modelo_->Refresca();
    QItemSelection seleccion;
    for (int i = 1; i <= lista_.Cuenta(); ++i)
        if (lista_.Fila(i).seleccionada)
            seleccion.select(modelo_->index(i - 1, 0), modelo_->index(i - 1, 6));
    lstVBusca->selectionModel()->select(seleccion, QItemSelectionModel::ClearAndSelect);
}

bool PestanaFicheros::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == lstVBusca && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Delete || tecla == Qt::Key_F2 || tecla == Qt::Key_F3) {
            emit Tecla(tecla);
            return true;
        }
    }
    if (objeto == lstVBusca->viewport() && evento->type() == QEvent::Resize && repartir_)
        reparte();
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
            emit Soltadas(rutas);
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}
