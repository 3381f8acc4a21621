#pragma once
#include <QString>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class Avance;
class Avisos;
class CajaImagen;
class Catalogo;
class ComboImagen;
class ListasImagenes;
class PestanaBaseDatos;
class SesionCatalogo;
struct FilaBD;
struct NodoBD;

// The window's upper area: on the left the tree of the work list (given by
// the window), in the middle the order chooser cmbISort over the catalogue
// tree tvBD, on the right the disc picture imgBD. Clicking a node lists its
// songs in the "Base de datos" tab.
class AreaSuperior : public QWidget {
    Q_OBJECT
public:
    AreaSuperior(SesionCatalogo& sesion, const ListasImagenes& imagenes, Avance& avance, Avisos& avisos,
                 PestanaBaseDatos& canciones, QWidget* arbolTrabajo, QWidget* parent = nullptr);

    // Start-up: the three orders, "Arbol por CD's" selected; no picture.
    void Prepara();
    // Builds the catalogue tree for an ordering (1 authors, 2 discs, 3 CDs).
    void ArbolBD(int orden);
    // A node clicked: its disc's first picture, and its songs when it is a
    // first-level node never expanded.
    void NodeClick(QTreeWidgetItem* nodo);
    // The first picture of a disc (a found song's).
    void MuestraDisco(qint64 iddisco);
    // The next picture of the disc shown.
    void imgBD_Click();
    // The songs of a CD in the list, one of them current, its disc's picture.
    void MuestraCancion(qint64 idcd, qint64 idcancion);

private:
    void cmbISort_Click();
    void listaBD(QTreeWidgetItem* nodo);
    void muestraImagen(qint64& id);
    // Another catalogue: its tree in the order chosen, no picture.
    void otroCatalogo();
    Catalogo& bd() const;

    SesionCatalogo& sesion_;
    const ListasImagenes& imagenes_;
    Avance& avance_;
    Avisos& avisos_;
    PestanaBaseDatos& canciones_;
    ComboImagen* cmbISort;
    QTreeWidget* tvBD;
    CajaImagen* imgBD;
    qint64 disco_ = 0;  // the disc of the node or found song clicked last
};

// Where the nodes of tvBD and the rows of lstVBD keep their data (column 0):
// the key in Qt::UserRole, the node's Tag (qint64) in Qt::UserRole + 1 and
// the node's image key in Qt::UserRole + 2.
namespace rolBD {
constexpr int kClave = 0x0100;       // Qt::UserRole
constexpr int kTag = 0x0100 + 1;
constexpr int kImagen = 0x0100 + 2;
}  // namespace rolBD

QTreeWidgetItem* CreaNodoBD(const NodoBD& nodo, const ListasImagenes& imagenes);
QTreeWidgetItem* CreaFilaBD(const FilaBD& fila, const ListasImagenes& imagenes);
// The row's key and columns, as the song edits read them.
FilaBD LeeFilaBD(const QTreeWidgetItem* item);
void EscribeFilaBD(QTreeWidgetItem* item, const FilaBD& fila);

QString ClaveNodo(const QTreeWidgetItem* nodo);
qint64 TagNodo(const QTreeWidgetItem* nodo);
