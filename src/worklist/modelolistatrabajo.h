#pragma once
#include <QAbstractTableModel>

class ListaTrabajo;
class ListasImagenes;

// Shows the work list in the report view lstVBusca: the row text and the six
// sub-items as columns, with the row's picture and the header pictures.
class ModeloListaTrabajo : public QAbstractTableModel {
    Q_OBJECT
public:
    ModeloListaTrabajo(ListaTrabajo& lista, const ListasImagenes& imagenes, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void Refresca();

private:
    ListaTrabajo& lista_;
    const ListasImagenes& imagenes_;
};
