#include "worklist/modelolistatrabajo.h"

#include "common/listasimagenes.h"
#include "worklist/listatrabajo.h"

namespace {
struct Cabecera {
    const char* texto;
    const char* imagen;
};
const Cabecera kCabeceras[7] = {{"Nombre fichero", nullptr}, {"Attributos", nullptr}, {"Autor", "autor"},
                                {"disco", "disco"},          {"cancion", "cancion"},  {"posicion", "posicion"},
                                {"mascara", "mascara"}};
}  // namespace

ModeloListaTrabajo::ModeloListaTrabajo(ListaTrabajo& lista, const ListasImagenes& imagenes, QObject* parent)
    : QAbstractTableModel(parent), lista_(lista), imagenes_(imagenes)
{
}

int ModeloListaTrabajo::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : lista_.Cuenta();
}

int ModeloListaTrabajo::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 7; }

QVariant ModeloListaTrabajo::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= lista_.Cuenta())
        return {};
    const int fila = index.row() + 1;
    if (role == Qt::DisplayRole) {
        if (index.column() == 0)
            return lista_.Fila(fila).texto;
        return lista_.SubItem(fila, index.column());
    }
    if (role == Qt::DecorationRole && index.column() == 0)
        return imagenes_.Pequena(lista_.Fila(fila).icono);
    if (role == Qt::ToolTipRole && index.column() == 0)
        return lista_.Fila(fila).tag;
    return {};
}

QVariant ModeloListaTrabajo::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= 7)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kCabeceras[section].texto);
    if (role == Qt::DecorationRole && kCabeceras[section].imagen)
        return imagenes_.Pequena(QString::fromLatin1(kCabeceras[section].imagen));
    return {};
}

Qt::ItemFlags ModeloListaTrabajo::flags(const QModelIndex& index) const
{
    // Labels are never edited.
    return QAbstractTableModel::flags(index) & ~Qt::ItemIsEditable;
}

void ModeloListaTrabajo::Refresca()
{
    beginResetModel();
    endResetModel();
}
