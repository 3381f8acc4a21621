#include "decoding/DlgDecodif.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "common/avisos.h"
#include "main_window/frmVaro.h"
#include "common/listasimagenes.h"

namespace {
// Columns of lstVOpc: the row text, then sub-items 1 to 6.
enum { kCancionFila = 0, kPuntos, kAutor, kDisco, kCancion, kPosicion, kMascara, kColumnas };
}  // namespace

DlgDecodif::DlgDecodif(const ListasImagenes& imagenes, Avisos& avisos, QWidget* parent)
    : QDialog(parent), avisos_(avisos)
{
    setObjectName(QStringLiteral("DlgDecodif"));
    setWindowTitle(QStringLiteral("Escoger la mejor decodificacion para..."));
    setModal(true);
    setFixedSize(Twips(9000), Twips(4200));

    lblnomfile = new QLabel(this);
    lblnomfile->setObjectName(QStringLiteral("lblnomfile"));
    lblnomfile->setGeometry(8, 8, width() - 16, 20);

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
    lstVOpc->setColumnWidth(kCancionFila, Twips(4000));
    lstVOpc->setColumnWidth(kPuntos, Twips(400));
    lstVOpc->setColumnWidth(kPosicion, Twips(400));
    lstVOpc->setColumnWidth(kMascara, Twips(1000));
    lstVOpc->setColumnHidden(kCancion, true);
    // Kept in score order as rows come in; the header only shows it.
    lstVOpc->header()->setSortIndicator(kPuntos, Qt::DescendingOrder);
    lstVOpc->header()->setSortIndicatorShown(true);
    lstVOpc->header()->setSectionsClickable(false);
    lstVOpc->setGeometry(8, 32, width() - 16, height() - 110);

    chkMismoDir = new QCheckBox(QStringLiteral("Si a todo el directorio. Si disco igual."), this);
    chkMismoDir->setObjectName(QStringLiteral("chkMismoDir"));
    chkMismoDir->setGeometry(8, height() - 70, width() - 16, 24);

    OKButton = new QPushButton(QStringLiteral("Aceptar"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(width() - 224, height() - 40, 100, 30);
    OKButton->setAutoDefault(false);
    CancelButton = new QPushButton(QStringLiteral("Cancelar"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(width() - 116, height() - 40, 100, 30);
    CancelButton->setAutoDefault(false);

    connect(OKButton, &QPushButton::clicked, this, &DlgDecodif::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &DlgDecodif::CancelButton_Click);
    connect(lstVOpc, &QTreeWidget::itemDoubleClicked, this, [this] { OKButton_Click(); });
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
