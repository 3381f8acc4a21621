#include "catalogue/navegador_ui.h"

#include <QFile>
#include <QHash>
#include <QHeaderView>
#include <QImageReader>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "catalogue/navegador.h"
#include "catalogue/objetos.h"
#include "catalogue/pestanabd.h"
#include "common/avance.h"
#include "common/avisos.h"
#include "common/cajaimagen.h"
#include "common/controles.h"
#include "common/ficheroregular.h"
#include "common/listasimagenes.h"
#include "common/orden.h"
#include "common/twips.h"
#include "store/sesion.h"

static_assert(rolBD::kClave == Qt::UserRole);

namespace {

// A song row; columns sort as text, in Spanish order.
class ItemCancion : public QTreeWidgetItem {
public:
    bool operator<(const QTreeWidgetItem& otro) const override
    {
        const int c = treeWidget() ? treeWidget()->sortColumn() : 0;
        return AntesQue(text(c), otro.text(c));
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

AreaSuperior::AreaSuperior(SesionCatalogo& sesion, const ListasImagenes& imagenes, Avance& avance, Avisos& avisos,
                           PestanaBaseDatos& canciones, QWidget* arbolTrabajo, QWidget* parent)
    : QWidget(parent),
      sesion_(sesion),
      imagenes_(imagenes),
      avance_(avance),
      avisos_(avisos),
      canciones_(canciones)
{
    setObjectName(QStringLiteral("AreaSuperior"));
    cmbISort = Control<ComboImagen>(this, "cmbISort");
    cmbISort->setPlaceholderText(QStringLiteral("<pon la forma de mostrar la BD>"));
    tvBD = Arbol(this, "tvBD", QStringLiteral("Arbol que nos muestra la BD"));
    imgBD = Control<CajaImagen>(this, "imgBD", QString(), QStringLiteral("Pulsa para ver la siguiente..."));
    imgBD->setFrameShape(QFrame::StyledPanel);
    imgBD->setAlignment(Qt::AlignCenter);
    imgBD->setScaledContents(true);
    imgBD->setMinimumSize(Twips(1500), Twips(1500));
    imgBD->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    // The three columns share the extra room in the design's proportions.
    auto* fila = new QHBoxLayout(this);
    fila->setContentsMargins(0, 0, 0, 0);
    fila->addWidget(arbolTrabajo, 3495);
    auto* medio = new QVBoxLayout;
    medio->addWidget(cmbISort);
    medio->addWidget(tvBD, 1);
    fila->addLayout(medio, 3735);
    auto* derecha = new QVBoxLayout;
    derecha->addSpacing(Twips(360));
    derecha->addWidget(imgBD, 1);
    fila->addLayout(derecha, 3015);

    connect(imgBD, &CajaImagen::Click, this, &AreaSuperior::imgBD_Click);
    connect(cmbISort, &QComboBox::activated, this, &AreaSuperior::cmbISort_Click);
    connect(tvBD, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* n) { NodeClick(n); });
    connect(&canciones_, &PestanaBaseDatos::DiscoElegido, this, [this](qint64 disco) {
        Protege(avisos_, QStringLiteral("leer el catálogo"), [&] { MuestraDisco(disco); });
    });
    connect(&sesion_, &SesionCatalogo::Cambiado, this, &AreaSuperior::otroCatalogo);
}

Catalogo& AreaSuperior::bd() const { return sesion_.bd(); }

void AreaSuperior::otroCatalogo()
{
    const bool mostrado = tvBD->topLevelItemCount() > 0;
    tvBD->clear();
    canciones_.Limpia();
    imgBD->clear();
    imgBD->setProperty("Tag", QStringLiteral("0"));
    disco_ = 0;
    if (mostrado && cmbISort->currentIndex() >= 0)
        Protege(avisos_, QStringLiteral("leer el catálogo"), [&] { ArbolBD(cmbISort->currentIndex() + 1); });
}

void AreaSuperior::Prepara()
{
    cmbISort->clear();
    cmbISort->addItem(imagenes_.Pequena("GrupoCD"), QStringLiteral("Arbol por CD's"));
    cmbISort->insertItem(0, imagenes_.Pequena("GrupoAutor"), QStringLiteral("Arbol por Autores"));
    cmbISort->insertItem(1, imagenes_.Pequena("GrupoCD"), QStringLiteral("Arbol por Discos"));
    cmbISort->setCurrentIndex(2);
    imgBD->setProperty("Tag", QStringLiteral("0"));
}

void AreaSuperior::cmbISort_Click()
{
    const int indice = cmbISort->currentIndex();
    if (indice >= 0)
        Protege(avisos_, QStringLiteral("leer el catálogo"), [&] { ArbolBD(indice + 1); });
}

void AreaSuperior::ArbolBD(int orden)
{
    tvBD->clear();
    canciones_.Limpia();
    // Only the root sits at the top of the tree, so there is nothing to sort
    // there; the first level keeps the order ArbolBD gives.
    const std::vector<NodoBD> nodos = ::ArbolBD(bd(), orden, &avance_);
    if (nodos.empty())
        return;
    QTreeWidgetItem* raiz = CreaNodoBD(nodos.front(), imagenes_);
    QList<QTreeWidgetItem*> hijos;
    hijos.reserve(qsizetype(nodos.size()) - 1);
    for (size_t i = 1; i < nodos.size(); ++i)
        hijos.append(CreaNodoBD(nodos[i], imagenes_));
    raiz->addChildren(hijos);
    tvBD->addTopLevelItem(raiz);
    raiz->setExpanded(true);
    const int columna = ColumnaOrdenArbol(orden);
    if (columna >= 0)
        canciones_.OrdenaPor(columna);
}

void AreaSuperior::NodeClick(QTreeWidgetItem* nodo)
{
    if (!nodo)
        return;
    if (tvBD->currentItem() != nodo)
        tvBD->setCurrentItem(nodo);
    Protege(avisos_, QStringLiteral("leer el catálogo"), [&] {
        const qint64 tag = TagNodo(nodo);
        // The picture steps on along the node clicked last.
        disco_ = tag;
        if (tag != 0)
            MuestraDisco(tag);
        if (ClaveNodo(nodo).startsWith(QLatin1String("BDdi#")) || tag == 0)
            listaBD(nodo);
    });
}

void AreaSuperior::MuestraDisco(qint64 iddisco)
{
    disco_ = iddisco;
    qint64 id = GrabaObjeto(bd(), sesion_.carpeta(), QStringLiteral("d"), iddisco, QString(), QString(), false);
    if (id > 0)
        muestraImagen(id);
    else
        imgBD->clear();
    imgBD->setProperty("Tag", QString::number(id));
}

void AreaSuperior::MuestraCancion(qint64 idcd, qint64 idcancion)
{
    const ContenidoBD contenido = ::ListaBD(bd(), QStringLiteral("BDcd#") + QString::number(idcd), &avance_);
    canciones_.Muestra(contenido);
    canciones_.Selecciona(QStringLiteral("ca#") + QString::number(idcancion));
}

void AreaSuperior::listaBD(QTreeWidgetItem* nodo)
{
    // Only a first-level node that was never expanded is read.
    if (!nodo || !nodo->parent() || nodo->parent()->parent() || nodo->childCount() > 0)
        return;
    canciones_.Limpia();
    const QString clave = ClaveNodo(nodo);
    const ContenidoBD contenido = ::ListaBD(bd(), clave, &avance_);
    canciones_.Muestra(contenido);

    QHash<QString, QTreeWidgetItem*> anadidos;
    for (const NodoBD& n : contenido.nodos) {
        QTreeWidgetItem* padre = n.padre == clave ? nodo : anadidos.value(n.padre);
        if (!padre)
            continue;
        QTreeWidgetItem* hijo = CreaNodoBD(n, imagenes_);
        padre->addChild(hijo);
        padre->setExpanded(true);
        anadidos.insert(n.clave, hijo);
    }
}

void AreaSuperior::muestraImagen(qint64& id)
{
    const QString copia = CopiaImagen(bd(), sesion_.carpeta(), id);
    if (copia.isEmpty()) {
        imgBD->clear();
        id = 0;
        return;
    }
    // A copy the picture loader cannot read shows as an empty picture.
    QFile f;
    QImageReader lector(&f);
    imgBD->setPixmap(AbreFicheroRegular(copia, f) ? QPixmap::fromImage(lector.read()) : QPixmap());
}

void AreaSuperior::imgBD_Click()
{
    const qint64 actual = imgBD->property("Tag").toString().toLongLong();
    if (actual <= 0)
        return;
    Protege(avisos_, QStringLiteral("leer el catálogo"), [&] {
        qint64 siguiente = DameSiguienteObjeto(bd(), QStringLiteral("d"), disco_, actual);
        if (siguiente > 0) {
            muestraImagen(siguiente);
            imgBD->setProperty("Tag", QString::number(siguiente));
        }
    });
}
