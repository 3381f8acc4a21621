#pragma once
#include <QString>

class QTreeWidgetItem;
class ListasImagenes;
struct FilaBD;
struct NodoBD;

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
