#include "catalogue/navegador_ui.h"

#include <QHash>
#include <QHeaderView>
#include <QProgressBar>
#include <QTreeWidget>

#include "catalogue/navegador.h"
#include "catalogue/objetos.h"
#include "common/avisos.h"
#include "main_window/frmVaro.h"
#include "common/listasimagenes.h"

static_assert(rolBD::kClave == Qt::UserRole);

namespace {

// Moves prgLoad while the browser reads the catalogue.
class AvanceBarra : public AvanceCarga {
public:
    explicit AvanceBarra(QProgressBar* barra) : barra_(barra) {}
    void Empieza(int maximo) override
    {
        barra_->setMaximum(maximo);
        barra_->setValue(0);
        barra_->show();
    }
    void Avanza() override { barra_->setValue(barra_->value() + 1); }
    void Termina() override { barra_->hide(); }

private:
    QProgressBar* barra_;
};

// A song row; columns sort as text, without regard to case.
class ItemCancion : public QTreeWidgetItem {
public:
    bool operator<(const QTreeWidgetItem& otro) const override
    {
        const int c = treeWidget() ? treeWidget()->sortColumn() : 0;
        return text(c).compare(otro.text(c), Qt::CaseInsensitive) < 0;
    }
};

}  // namespace

QTreeWidgetItem* CreaNodoBD(const NodoBD& nodo, const ListasImagenes& imagenes)
{
    auto* item = new QTreeWidgetItem(QStringList{nodo.texto});
    item->setData(0, rolBD::kClave, nodo.clave);
    item->setData(0, rolBD::kTag, nodo.tag);
    item->setData(0, rolBD::kImagen, nodo.imagen);
    item->setIcon(0, imagenes.Pequena(nodo.imagen));
    return item;
}

void EscribeFilaBD(QTreeWidgetItem* item, const FilaBD& fila)
{
    item->setData(columnaBD::kPosicion, rolBD::kClave, fila.clave);
    item->setText(columnaBD::kPosicion, fila.posicion);
    item->setText(columnaBD::kAttrib, fila.attrib);
    item->setText(columnaBD::kAutor, fila.autor);
    item->setText(columnaBD::kDisco, fila.disco);
    item->setText(columnaBD::kCancion, fila.cancion);
    item->setText(columnaBD::kCd, fila.cd);
}

QTreeWidgetItem* CreaFilaBD(const FilaBD& fila, const ListasImagenes& imagenes)
{
    auto* item = new ItemCancion;
    EscribeFilaBD(item, fila);
    item->setIcon(columnaBD::kPosicion, imagenes.Pequena(QStringLiteral("cancion")));
    return item;
}

FilaBD LeeFilaBD(const QTreeWidgetItem* item)
{
    FilaBD f;
    f.clave = item->data(columnaBD::kPosicion, rolBD::kClave).toString();
    f.posicion = item->text(columnaBD::kPosicion);
    f.attrib = item->text(columnaBD::kAttrib);
    f.autor = item->text(columnaBD::kAutor);
    f.disco = item->text(columnaBD::kDisco);
    f.cancion = item->text(columnaBD::kCancion);
    f.cd = item->text(columnaBD::kCd);
    return f;
}

QString ClaveNodo(const QTreeWidgetItem* nodo) { return nodo->data(0, rolBD::kClave).toString(); }
qint64 TagNodo(const QTreeWidgetItem* nodo) { return nodo->data(0, rolBD::kTag).toLongLong(); }

void frmVaro::cmbISort_Click()
{
    const int indice = cmbISort->currentIndex();
    if (indice < 0)
        return;
    ArbolBD(indice + 1);
}

void frmVaro::ArbolBD(int orden)
{
    tvBD->clear();
    lstVBD->clear();
    // Only the root sits at the top of the tree, so there is nothing to sort
    // there; the first level keeps the order of the select.
    AvanceBarra avance(prgLoad);
    const std::vector<NodoBD> nodos = ::ArbolBD(bd, orden, &avance);
    if (nodos.empty())
        return;
    QTreeWidgetItem* raiz = CreaNodoBD(nodos.front(), *imagenes);
    QList<QTreeWidgetItem*> hijos;
    hijos.reserve(qsizetype(nodos.size()) - 1);
    for (size_t i = 1; i < nodos.size(); ++i)
        hijos.append(CreaNodoBD(nodos[i], *imagenes));
    raiz->addChildren(hijos);
    tvBD->addTopLevelItem(raiz);
    raiz->setExpanded(true);
    const int columna = ColumnaOrdenArbol(orden);
    if (columna >= 0)
        lstVBD->sortByColumn(columna, Qt::AscendingOrder);
}

void frmVaro::tvBD_NodeClick(QTreeWidgetItem* nodo)
{
    if (!nodo)
        return;
    if (tvBD->currentItem() != nodo)
        tvBD->setCurrentItem(nodo);
    const qint64 tag = TagNodo(nodo);
    if (tag != 0) {
        qint64 id = GrabaObjeto(bd, dirPrograma, QStringLiteral("d"), tag, QString(), QString(), false);
        if (id > 0)
            MuestraImagen(id);
        else
            imgBD->clear();
        imgBD->setProperty("Tag", QString::number(id));
    }
    if (ClaveNodo(nodo).startsWith(QLatin1String("BDdi#")) || tag == 0)
        ListaBD(nodo);
}

void frmVaro::ListaBD(QTreeWidgetItem* nodo)
{
    // Only a first-level node that was never expanded is read.
    if (!nodo || !nodo->parent() || nodo->parent()->parent() || nodo->childCount() > 0)
        return;
    lstVBD->clear();
    AvanceBarra avance(prgLoad);
    const QString clave = ClaveNodo(nodo);
    const ContenidoBD contenido = ::ListaBD(bd, clave, &avance);
    if (contenido.columnaOrden >= 0)
        lstVBD->sortByColumn(contenido.columnaOrden, Qt::AscendingOrder);

    QList<QTreeWidgetItem*> filas;
    filas.reserve(qsizetype(contenido.filas.size()));
    for (const FilaBD& f : contenido.filas)
        filas.append(CreaFilaBD(f, *imagenes));
    lstVBD->addTopLevelItems(filas);
    lstVBD->sortItems(lstVBD->sortColumn(), lstVBD->header()->sortIndicatorOrder());

    QHash<QString, QTreeWidgetItem*> anadidos;
    for (const NodoBD& n : contenido.nodos) {
        QTreeWidgetItem* padre = n.padre == clave ? nodo : anadidos.value(n.padre);
        if (!padre)
            continue;
        QTreeWidgetItem* hijo = CreaNodoBD(n, *imagenes);
        padre->addChild(hijo);
        padre->setExpanded(true);
        anadidos.insert(n.clave, hijo);
    }
}

void frmVaro::MuestraImagen(qint64& id)
{
    const QString copia = CopiaExistente(dirPrograma, id);
    if (copia.isEmpty()) {
        imgBD->clear();
        id = 0;
        return;
    }
    // A copy the picture loader cannot read shows as an empty picture.
    imgBD->setPixmap(QPixmap(copia));
}

void frmVaro::imgBD_Click()
{
    const qint64 actual = imgBD->property("Tag").toString().toLongLong();
    if (actual <= 0)
        return;
    QTreeWidgetItem* nodo = tvBD->currentItem();
    if (!nodo)
        return;
    qint64 siguiente = DameSiguienteObjeto(bd, QStringLiteral("d"), TagNodo(nodo), actual);
    if (siguiente > 0) {
        MuestraImagen(siguiente);
        imgBD->setProperty("Tag", QString::number(siguiente));
    }
}

void frmVaro::lstVBD_ColumnClick(int columna) { lstVBD->sortByColumn(columna, Qt::AscendingOrder); }

void frmVaro::cmbLimpia_Click() { avisos.Informa(QStringLiteral("Opcion no implementada, jet "), QStringLiteral("Lodrin")); }
