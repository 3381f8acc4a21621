#pragma once
#include <QString>

class QWidget;
struct UbicacionCatalogo;

// What only a person can choose when opening another catalogue or exporting
// one: the window asks through this, a test answers from a script.
class EleccionCatalogo {
public:
    virtual ~EleccionCatalogo() = default;
    // A catalogue file to open, starting in carpeta; empty when given up.
    virtual QString Fichero(const QString& carpeta) = 0;
    // A catalogue on a server: u comes with what is known of it (a recent
    // one) and leaves as the person typed it, the password only in memory.
    // False when given up.
    virtual bool Servidor(UbicacionCatalogo& u) = 0;
    // The CSV file to write, proposed as propuesto; empty when given up.
    virtual QString FicheroCsv(const QString& propuesto) = 0;
};

// The same through Qt's file chooser and a small dialog over padre.
class EleccionDialogo : public EleccionCatalogo {
public:
    explicit EleccionDialogo(QWidget* padre) : padre_(padre) {}
    QString Fichero(const QString& carpeta) override;
    bool Servidor(UbicacionCatalogo& u) override;
    QString FicheroCsv(const QString& propuesto) override;

private:
    QWidget* padre_;
};
