#include "decoding/DlgDecodif.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeWidget>

#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "common/avisos.h"
#include "common/listasimagenes.h"
#include "common/twips.h"

namespace {
const QString kTitulo = QStringLiteral("Escoger la mejor decodificacion para...");
// Columns of lstVOpc: the row text, then sub-items 1 to 6.
enum { kCancionFila = 0, kPuntos, kAutor, kDisco, kCancion, kPosicion, kMascara, kColumnas };
}  // namespace

DlgDecodif::DlgDecodif(const ListasImagenes& imagenes, Avisos& avisos, QWidget* parent)
    : QDialog(parent), avisos_(avisos)
{
    setObjectName(QStringLiteral("DlgDecodif"));
    setWindowTitle(kTitulo);
    setModal(true);
    setSizeGripEnabled(true);

    lblnomfile = new QLabel(this);
    lblnomfile->setObjectName(QStringLiteral("lblnomfile"));
    lblnomfile->setTextFormat(Qt::PlainText);

    lstVOpc = new QTreeWidget(this);
    lstVOpc->setObjectName(QStringLiteral("lstVOpc"));
    lstVOpc->setRootIsDecorated(false);
    lstVOpc->setUniformRowHeights(true);
    lstVOpc->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstVOpc->setSelectionMode(QAbstractItemView::SingleSelection);
    lstVOpc->setColumnCount(kColumnas);
    lstVOpc->setHeaderLabels({QStringLiteral("Cancion"), QStringLiteral("Attributos"), QStringLiteral("Autor"),
                              QStringLiteral("disco"), QStringLiteral("cancion"), QStringLiteral("posicion"),
                              QStringLiteral("mascara")});
    const std::pair<int, const char*> iconos[] = {
        {kCancionFila, "cancion"}, {kAutor, "autor"}, {kDisco, "disco"},
        {kCancion, "cancion"},     {kPosicion, "posicion"}, {kMascara, "mascara"}};
    for (auto [c, clave] : iconos)
        lstVOpc->headerItem()->setIcon(c, imagenes.Pequena(QString::fromLatin1(clave)));
    lstVOpc->setColumnHidden(kCancion, true);
    // Kept in score order as rows come in; the header only shows it.
    lstVOpc->header()->setSortIndicator(kPuntos, Qt::DescendingOrder);
    lstVOpc->header()->setSortIndicatorShown(true);
    lstVOpc->header()->setSectionsClickable(false);
    lstVOpc->header()->setStretchLastSection(false);

    chkMismoDir = new QCheckBox(QStringLiteral("Si a todo el directorio. Si disco igual."), this);
    chkMismoDir->setObjectName(QStringLiteral("chkMismoDir"));

    OKButton = new QPushButton(QStringLiteral("Aceptar"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);  // Enter accepts the selected candidate
    CancelButton = new QPushButton(QStringLiteral("Cancelar"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    auto* columna = new QVBoxLayout(this);
    columna->addWidget(lblnomfile);
    columna->addWidget(lstVOpc, 1);
    columna->addWidget(chkMismoDir);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(OKButton);
    botones->addWidget(CancelButton);
    columna->addLayout(botones);
    // The design's size is where it starts; it only grows.
    setMinimumSize(Twips(9000), Twips(4200));
    resize(minimumSize());

    connect(OKButton, &QPushButton::clicked, this, &DlgDecodif::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &DlgDecodif::CancelButton_Click);
    connect(lstVOpc, &QTreeWidget::itemDoubleClicked, this, [this] { OKButton_Click(); });
}

void DlgDecodif::PonCarpeta(int carpeta, int total)
{
    setWindowTitle(total > 0 ? QStringLiteral("%1 (carpeta %2 de %3)").arg(kTitulo).arg(carpeta).arg(total) : kTitulo);
}

void DlgDecodif::ajustaColumnas()
{
    int ancho = 0;
    for (int c = 0; c < kColumnas; ++c) {
        if (lstVOpc->isColumnHidden(c))
            continue;
        lstVOpc->resizeColumnToContents(c);
        ancho += lstVOpc->columnWidth(c);
    }
    ancho += lstVOpc->frameWidth() * 2 + lstVOpc->verticalScrollBar()->sizeHint().width() + 2;
    const int margen = width() - lstVOpc->width();
    int deseado = std::max(width(), ancho + margen);
    if (const QScreen* pantalla = screen())
        deseado = std::min(deseado, pantalla->availableGeometry().width());
    if (deseado > width())
        resize(deseado, height());
    reparteAncho();
}

void DlgDecodif::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    reparteAncho();
}

// The list's free width goes to song, author and disc; a narrower dialog
// keeps them (the list scrolls) so no text is cut.
void DlgDecodif::reparteAncho()
{
    int usado = 0;
    for (int c = 0; c < kColumnas; ++c)
        if (!lstVOpc->isColumnHidden(c))
            usado += lstVOpc->columnWidth(c);
    const int libre = lstVOpc->viewport()->width() - usado;
    if (libre <= 0)
        return;
    const int columnas[] = {kCancionFila, kAutor, kDisco};
    for (int i = 0; i < 3; ++i)
        lstVOpc->setColumnWidth(columnas[i], lstVOpc->columnWidth(columnas[i]) + libre / 3 + (i < libre % 3 ? 1 : 0));
}

void DlgDecodif::BorrarLista()
{
    lstVOpc->clear();
    orden_.Limpia();
}

void DlgDecodif::AnadeCandidato(const CandidatoDecodificacion& c)
{
    const int fila = orden_.Anade(c);
    auto* item = new QTreeWidgetItem(QStringList{c.cancion, QString::number(c.puntos), c.autor, c.disco, c.cancion,
                                                 c.posicion, c.mascara});
    lstVOpc->insertTopLevelItem(fila - 1, item);
    lstVOpc->setCurrentItem(lstVOpc->topLevelItem(0));
    lstVOpc->clearSelection();
    lstVOpc->topLevelItem(0)->setSelected(true);
}

bool DlgDecodif::MismoDir() const { return chkMismoDir->isChecked(); }

void DlgDecodif::LimpiaMismoDir() { chkMismoDir->setChecked(false); }

int DlgDecodif::Muestra(const QString& ruta)
{
    lblnomfile->setText(ruta);
    eleccion_ = QStringLiteral("0");
    ensurePolished();
    if (layout())
        layout()->activate();
    ajustaColumnas();
    lstVOpc->setFocus();
    exec();
    return eleccion_.toInt();
}

CandidatoDecodificacion DlgDecodif::Candidato(int fila) const
{
    const QTreeWidgetItem* item = fila >= 1 ? lstVOpc->topLevelItem(fila - 1) : nullptr;
    if (!item)
        return {};
    return {item->text(kAutor),    item->text(kDisco),   item->text(kCancion),
            item->text(kPosicion), item->text(kMascara), item->text(kPuntos).toInt()};
}

void DlgDecodif::OKButton_Click()
{
    eleccion_ = QStringLiteral("0");
    for (int i = 0; i < lstVOpc->topLevelItemCount(); ++i)
        if (lstVOpc->topLevelItem(i)->isSelected())
            eleccion_ = QString::number(i + 1);
    if (eleccion_.toInt() > 0) {
        accept();
        return;
    }
    avisos_.Informa(QStringLiteral("Has de selecionar una mascara correcta. Si no pulsa cancelar y dala de alta"),
                    QStringLiteral("Has de elegir..."));
}

void DlgDecodif::CancelButton_Click()
{
    eleccion_ = QStringLiteral("0");
    QDialog::reject();
}

void DlgDecodif::reject() { CancelButton_Click(); }
