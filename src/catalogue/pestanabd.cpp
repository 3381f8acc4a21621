#include "catalogue/pestanabd.h"

#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/edicion.h"
#include "catalogue/navegador.h"
#include "catalogue/navegador_ui.h"
#include "common/controles.h"
#include "common/filaseditables.h"
#include "common/listasimagenes.h"
#include "common/lodrinerror.h"
#include "common/twips.h"
#include "search/buscador.h"
#include "search/busqueda.h"
#include "store/catalogo.h"
#include "store/sesion.h"

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

PestanaBaseDatos::PestanaBaseDatos(SesionCatalogo& sesion, const ListasImagenes& imagenes, QWidget* parent)
    : QWidget(parent), sesion_(sesion), imagenes_(imagenes)
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

    const QString ayudaBusca = QStringLiteral("Busca en el catálogo: autor, disco, canción o CD");
    txtBuscaBD = Control<QLineEdit>(this, "txtBuscaBD", QString(), ayudaBusca);
    txtBuscaBD->setPlaceholderText(ayudaBusca);
    txtBuscaBD->setClearButtonEnabled(true);
    lblCuentaBD = Control<QLabel>(this, "lblCuentaBD");

    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(6, 6, 6, 6);
    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(txtBuscaBD);
    izquierda->addWidget(lstVBD, 1);
    izquierda->addWidget(lblCuentaBD);
    fila->addLayout(izquierda, 1);
    auto* derecha = new QVBoxLayout;
    derecha->addWidget(cmbLimpia);
    derecha->addWidget(Label10);
    derecha->addStretch();
    fila->addLayout(derecha);

    connect(cmbLimpia, &QPushButton::clicked, this, &PestanaBaseDatos::Limpiar);
    connect(cabecera, &QHeaderView::sectionClicked, this, &PestanaBaseDatos::OrdenaPor);
    connect(txtBuscaBD, &QLineEdit::textChanged, this, &PestanaBaseDatos::busca);
    connect(lstVBD, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const qint64 disco = item->data(columnaBD::kPosicion, rolBD::kTag).toLongLong();
        if (buscando_ && disco > 0)
            emit DiscoElegido(disco);
    });
    lstVBD->installEventFilter(this);
    txtBuscaBD->installEventFilter(this);
    connect(&sesion_, &SesionCatalogo::Cambiado, this, &PestanaBaseDatos::otroCatalogo);
}

Catalogo& PestanaBaseDatos::bd() const { return sesion_.bd(); }

void PestanaBaseDatos::otroCatalogo()
{
    Limpia();
    delete buscador_;
    buscador_ = nullptr;
    Prepara();
}

void PestanaBaseDatos::Prepara()
{
    lstVBD->setSortingEnabled(true);
    lstVBD->sortByColumn(0, Qt::AscendingOrder);
    // With the sort mark shown the header needs more room.
    QHeaderView* cabecera = lstVBD->header();
    for (int c : {0, 2, 3, 4, 5})
        lstVBD->setColumnWidth(c, std::max(lstVBD->columnWidth(c), cabecera->sectionSizeHint(c)));
    if (!buscador_) {
        buscador_ = new BuscadorCatalogo(bd().ubicacion(), this);
        connect(buscador_, &BuscadorCatalogo::Encontrado, this, &PestanaBaseDatos::muestraEncontradas);
        connect(buscador_, &BuscadorCatalogo::Fallo, this, &PestanaBaseDatos::Fallo);
    }
}

void PestanaBaseDatos::Limpia()
{
    terminaBusqueda();
    nodo_.clear();
    lstVBD->clear();
}

void PestanaBaseDatos::terminaBusqueda()
{
    if (!buscando_)
        return;
    buscando_ = false;
    if (buscador_)
        buscador_->Olvida();
    const QSignalBlocker bloqueo(txtBuscaBD);
    txtBuscaBD->clear();
    lblCuentaBD->clear();
}

void PestanaBaseDatos::busca(const QString& texto)
{
    if (PalabrasBusqueda(texto).isEmpty()) {
        if (!buscando_)
            return;
        terminaBusqueda();
        lstVBD->clear();
        if (!nodo_.isEmpty()) {
            try {
                ponFilas(ListaBD(bd(), nodo_).filas);
            } catch (const LodrinError& e) {
                emit Fallo(e.message());
            }
        }
        return;
    }
    buscando_ = true;
    // What another program wrote since the last look is put in the index
    // first, so the search goes through the index.
    try {
        if (!bd().SoloLectura())
            bd().motor().MiraCambiosFuera(bd());
        if (buscador_) {
            buscador_->Busca(texto, lstVBD->sortColumn());
            return;
        }
        muestraEncontradas(BuscaCanciones(bd(), texto, lstVBD->sortColumn()));
    } catch (const LodrinError& e) {
        emit Fallo(QStringLiteral("No se ha podido buscar en el catálogo %1: %2").arg(bd().ruta(), e.message()));
    }
}

void PestanaBaseDatos::muestraEncontradas(const ResultadoBusqueda& r)
{
    if (!buscando_)
        return;
    lstVBD->clear();
    QList<QTreeWidgetItem*> filas;
    filas.reserve(qsizetype(r.filas.size()));
    for (const CancionEncontrada& c : r.filas) {
        QTreeWidgetItem* item = CreaFilaBD(c.fila, imagenes_);
        item->setData(columnaBD::kPosicion, rolBD::kTag, c.iddisco);
        filas.append(item);
    }
    lstVBD->addTopLevelItems(filas);
    lstVBD->sortItems(lstVBD->sortColumn(), lstVBD->header()->sortIndicatorOrder());
    lblCuentaBD->setText(TextoCuenta(qint64(r.filas.size()), r.total));
}

void PestanaBaseDatos::ponFilas(const std::vector<FilaBD>& filas)
{
    lstVBD->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(filas.size()));
    for (const FilaBD& f : filas)
        items.append(CreaFilaBD(f, imagenes_));
    lstVBD->addTopLevelItems(items);
    lstVBD->sortItems(lstVBD->sortColumn(), lstVBD->header()->sortIndicatorOrder());
}

void PestanaBaseDatos::OrdenaPor(int columna) { lstVBD->sortByColumn(columna, Qt::AscendingOrder); }

void PestanaBaseDatos::Muestra(const ContenidoBD& contenido)
{
    terminaBusqueda();
    lstVBD->clear();
    if (contenido.columnaOrden >= 0)
        lstVBD->sortByColumn(contenido.columnaOrden, Qt::AscendingOrder);
    nodo_ = contenido.clave;
    ponFilas(contenido.filas);
}

void PestanaBaseDatos::Edita(int tecla, EditorFilas& editor)
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
    // Each song is written only if the catalogue still holds it as its row
    // showed it; either way its row then shows the song as it is.
    std::vector<QTreeWidgetItem*> idos;
    const auto cambiada = [&](QTreeWidgetItem* item, const CancionAhora& ahora) {
        if (ahora.existe)
            EscribeFilaBD(item, ahora.fila);
        else
            idos.push_back(item);
        throw LodrinError(kCancionCambiada);
    };
    struct Quita {
        std::vector<QTreeWidgetItem*>& idos;
        ~Quita() { qDeleteAll(idos); }
    } quita{idos};
    editor.Edita(
        tecla, filas, true,
        [&](int i) {
            QTreeWidgetItem* item = filas.item(i);
            CancionAhora ahora;
            if (!BorraCancionMostrada(bd(), LeeFilaBD(item), ahora))
                cambiada(item, ahora);
        },
        [&](int i) {
            QTreeWidgetItem* item = filas.item(i);
            CancionAhora ahora;
            bool hecho = false;
            try {
                hecho = ActualizaCancionMostrada(bd(), LeeFilaBD(item), antes.value(item), ahora);
            } catch (...) {
                // The row shows what the catalogue still holds.
                EscribeFilaBD(item, antes.value(item));
                throw;
            }
            if (!hecho)
                cambiada(item, ahora);
            if (ahora.existe)
                EscribeFilaBD(item, ahora.fila);
        });
    // What was changed may no longer match, or match elsewhere.
    if (buscando_)
        busca(txtBuscaBD->text());
}

std::vector<qint64> PestanaBaseDatos::CancionesMostradas() const
{
    std::vector<qint64> ids;
    for (int i = 0; i < lstVBD->topLevelItemCount(); ++i)
        ids.push_back(IdCancion(lstVBD->topLevelItem(i)->data(columnaBD::kPosicion, rolBD::kClave).toString()));
    return ids;
}

void PestanaBaseDatos::Selecciona(const QString& clave)
{
    for (int i = 0; i < lstVBD->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lstVBD->topLevelItem(i);
        if (item->data(columnaBD::kPosicion, rolBD::kClave).toString() == clave) {
            lstVBD->clearSelection();
            lstVBD->setCurrentItem(item);
            lstVBD->scrollToItem(item);
            return;
        }
    }
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
    if (objeto == txtBuscaBD && evento->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Escape) {
        txtBuscaBD->clear();
        return true;
    }
    return QWidget::eventFilter(objeto, evento);
}
