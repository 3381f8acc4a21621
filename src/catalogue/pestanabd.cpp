#include "catalogue/pestanabd.h"

#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/edicion.h"
#include "catalogue/navegador.h"
#include "catalogue/navegador_ui.h"
#include "common/controles.h"
#include "common/listasimagenes.h"
#include "common/twips.h"
#include "decoding/teclalista.h"
#include "decoding/teclalista_ui.h"

namespace {

// The catalogue list seen as editable rows. Its fourth edited field is the
// song's position, which is the row text.
class FilasCatalogo : public FilasEditables {
public:
    explicit FilasCatalogo(QTreeWidget* lista) : lista_(lista) {}
    int Cuenta() const override { return lista_->topLevelItemCount(); }
    bool Seleccionada(int i) const override { return item(i)->isSelected(); }
    QString Texto(int i) const override { return item(i)->text(columnaBD::kPosicion); }
    QString Tipo(int i) const override { return item(i)->text(columnaBD::kAttrib); }
    int CuentaSubItems(int) const override { return 5; }
    QString Campo(int i, int c) const override { return item(i)->text(columna(c)); }
    void PonCampo(int i, int c, const QString& texto) override { item(i)->setText(columna(c), texto); }
    void Quita(int i) override { delete lista_->takeTopLevelItem(i - 1); }
    QTreeWidgetItem* item(int i) const { return lista_->topLevelItem(i - 1); }

private:
    static int columna(int c)
    {
        switch (c) {
        case 2: return columnaBD::kAutor;
        case 3: return columnaBD::kDisco;
        case 4: return columnaBD::kCancion;
        default: return columnaBD::kPosicion;
        }
    }
    QTreeWidget* lista_;
};

}  // namespace

PestanaBaseDatos::PestanaBaseDatos(Catalogo& bd, const ListasImagenes& imagenes, QWidget* parent)
    : QWidget(parent), bd_(bd), imagenes_(imagenes)
{
    setObjectName(QStringLiteral("BaseDatos"));
    lstVBD = Informe(this, "lstVBD", "Informacion de la Base de Datos");
    lstVBD->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstVBD->setColumnCount(6);
    lstVBD->setHeaderLabels({"posicion", "", "autor", "disco", "cancion", "cd"});
    const std::pair<int, const char*> iconos[] = {
        {0, "posicion"}, {2, "autor"}, {3, "disco"}, {4, "cancion"}, {5, "cd"}};
    for (auto [c, clave] : iconos)
        lstVBD->headerItem()->setIcon(c, imagenes.Pequena(QString::fromLatin1(clave)));
    // The design widths, never narrower than the header (with its sort mark).
    const int anchos[6] = {500, 0, 2440, 2440, 1440, 1440};
    QHeaderView* cabecera = lstVBD->header();
    for (int c = 0; c < 6; ++c)
        lstVBD->setColumnWidth(c, c == 1 ? 0 : std::max(Twips(anchos[c]), cabecera->sectionSizeHint(c)));
    lstVBD->setColumnHidden(1, true);
    auto* cmbLimpia = Control<QPushButton>(this, "cmbLimpia", "Limpia BD");
    auto* Label10 = Control<QLabel>(this, "Label10", "Elimina las referencias a cd, disco, autor no utilizadas.");
    Label10->setWordWrap(true);
    Label10->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label10->setFixedWidth(110);

    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(6, 6, 6, 6);
    fila->addWidget(lstVBD, 1);
    auto* derecha = new QVBoxLayout;
    derecha->addWidget(cmbLimpia);
    derecha->addWidget(Label10);
    derecha->addStretch();
    fila->addLayout(derecha);

    connect(cmbLimpia, &QPushButton::clicked, this, &PestanaBaseDatos::Limpiar);
    connect(cabecera, &QHeaderView::sectionClicked, this, &PestanaBaseDatos::OrdenaPor);
    lstVBD->installEventFilter(this);
}

void PestanaBaseDatos::Prepara()
{
    lstVBD->setSortingEnabled(true);
    lstVBD->sortByColumn(0, Qt::AscendingOrder);
    // With the sort mark shown the header needs more room.
    QHeaderView* cabecera = lstVBD->header();
    for (int c : {0, 2, 3, 4, 5})
        lstVBD->setColumnWidth(c, std::max(lstVBD->columnWidth(c), cabecera->sectionSizeHint(c)));
}

void PestanaBaseDatos::Limpia() { lstVBD->clear(); }

void PestanaBaseDatos::OrdenaPor(int columna) { lstVBD->sortByColumn(columna, Qt::AscendingOrder); }

void PestanaBaseDatos::Muestra(const ContenidoBD& contenido)
{
    lstVBD->clear();
    if (contenido.columnaOrden >= 0)
        lstVBD->sortByColumn(contenido.columnaOrden, Qt::AscendingOrder);
    QList<QTreeWidgetItem*> filas;
    filas.reserve(qsizetype(contenido.filas.size()));
    for (const FilaBD& f : contenido.filas)
        filas.append(CreaFilaBD(f, imagenes_));
    lstVBD->addTopLevelItems(filas);
    lstVBD->sortItems(lstVBD->sortColumn(), lstVBD->header()->sortIndicatorOrder());
}

void PestanaBaseDatos::Edita(int tecla, CamposLlevados& campos, EntradaDatos& entrada)
{
    FilasCatalogo filas(lstVBD);
    QHash<const QTreeWidgetItem*, FilaBD> antes;
    for (int i = 1; i <= filas.Cuenta(); ++i)
        if (filas.Seleccionada(i))
            antes.insert(filas.item(i), LeeFilaBD(filas.item(i)));
    // Rows must keep their places while they are written.
    lstVBD->setSortingEnabled(false);
    struct Ordena {
        QTreeWidget* l;
        ~Ordena() { l->setSortingEnabled(true); }
    } ordena{lstVBD};
    EditaFilas(
        tecla, filas, campos, entrada, true, [&](int i) { BorraCancion(bd_, LeeFilaBD(filas.item(i))); },
        [&](int i) {
            QTreeWidgetItem* item = filas.item(i);
            try {
                item->setText(columnaBD::kPosicion, ActualizaCancion(bd_, LeeFilaBD(item)));
            } catch (...) {
                // The row shows what the catalogue still holds.
                EscribeFilaBD(item, antes.value(item));
                throw;
            }
        });
}

bool PestanaBaseDatos::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == lstVBD && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Delete || tecla == Qt::Key_F2) {
            emit Tecla(tecla);
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}
