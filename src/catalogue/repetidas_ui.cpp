#include "catalogue/repetidas_ui.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "catalogue/repetidas.h"
#include "common/controles.h"
#include "common/twips.h"
#include "store/sesion.h"

namespace {

constexpr int kRolCancion = Qt::UserRole;
constexpr int kRolCd = Qt::UserRole + 1;

QString Tiempo(qint64 s)
{
    const QLatin1Char cero('0');
    return s > 0 ? QStringLiteral("%1:%2").arg(s / 60, 2, 10, cero).arg(s % 60, 2, 10, cero) : QString();
}

}  // namespace

VentanaRepetidas::VentanaRepetidas(SesionCatalogo& sesion, QWidget* parent) : QDialog(parent), sesion_(sesion)
{
    setObjectName(QStringLiteral("frmRepetidas"));
    setWindowTitle(QStringLiteral("Canciones en varios CD"));
    lstRepetidas = Control<QTreeWidget>(this, "lstRepetidas");
    lstRepetidas->setHeaderLabels({QStringLiteral("Autor - canción / CD"), QStringLiteral("Disco"),
                                   QStringLiteral("Posición"), QStringLiteral("Duración"), QStringLiteral("Tiempos")});
    lstRepetidas->setRootIsDecorated(true);
    lstRepetidas->setUniformRowHeights(true);
    // Every column in view at the opening size, the mark included.
    const int anchos[] = {3700, 2500, 900, 1000};
    for (int c = 0; c < 4; ++c)
        lstRepetidas->setColumnWidth(c, Twips(anchos[c]));
    lblRepetidas = Control<QLabel>(this, "lblRepetidas");
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* exportar = botones->addButton(QStringLiteral("&Exportar…"), QDialogButtonBox::ActionRole);
    exportar->setObjectName(QStringLiteral("cmdExportarRepetidas"));
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(lstRepetidas, 1);
    columna->addWidget(lblRepetidas);
    columna->addWidget(botones);
    resize(Twips(10200), Twips(6000));

    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(exportar, &QPushButton::clicked, this, [this] {
        std::vector<qint64> ids;
        for (QTreeWidgetItemIterator it(lstRepetidas); *it; ++it)
            if (const qint64 id = (*it)->data(0, kRolCancion).toLongLong(); id > 0)
                ids.push_back(id);
        emit Exportar(ids);
    });
    connect(lstRepetidas, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (const qint64 id = item->data(0, kRolCancion).toLongLong(); id > 0)
            emit IrACancion(item->data(0, kRolCd).toLongLong(), id);
    });
    connect(&sesion_, &SesionCatalogo::Cambiado, this, [this] {
        if (isVisible())
            Lee();
        else
            lstRepetidas->clear();
    });
}

void VentanaRepetidas::Lee()
{
    lstRepetidas->clear();
    lblRepetidas->clear();
    const std::vector<CancionRepetida> canciones = CancionesRepetidas(sesion_.bd());
    QList<QTreeWidgetItem*> filas;
    filas.reserve(qsizetype(canciones.size()));
    for (const CancionRepetida& c : canciones) {
        auto* fila = new QTreeWidgetItem(
            {c.autor + QStringLiteral(" - ") + c.cancion, QStringLiteral("en %1 sitios").arg(c.sitios.size()), QString(),
             QString(), c.tiemposDistintos ? QStringLiteral("distintos") : QString()});
        if (c.tiemposDistintos) {
            fila->setToolTip(4, QStringLiteral("Las duraciones difieren en más de %1 s: quizá otra toma").arg(kTomasDistintas));
            QFont negrita = fila->font(4);
            negrita.setBold(true);
            fila->setFont(4, negrita);
        }
        for (const SitioRepetida& s : c.sitios) {
            auto* sitio = new QTreeWidgetItem(fila, {s.cd, s.disco, QString::number(s.posicion), Tiempo(s.segundos)});
            sitio->setData(0, kRolCancion, s.idcancion);
            sitio->setData(0, kRolCd, s.idcd);
        }
        filas << fila;
    }
    lstRepetidas->addTopLevelItems(filas);
    lstRepetidas->expandAll();
    lblRepetidas->setText(canciones.size() == 1 ? QStringLiteral("1 canción en más de un CD")
                                                 : QStringLiteral("%1 canciones en más de un CD").arg(canciones.size()));
}
