#pragma once
#include <QPointer>
#include <QTreeWidget>
#include <memory>

#include "autorun/frmAuto.h"
#include "worklist/habilitacion.h"

class QPushButton;
class ArbolDiscos;
class Avisos;
class ListaTrabajo;
class ListasImagenes;
struct CamposLlevados;

// Revision number of the cataloguer, shown by its preview of the viewer.
constexpr int kRevisionLodrin = 33;

// Tv, the author/disc tree of the work list, and what is made from it: the
// file autorun.dat and the preview of the viewer.
class ArbolTrabajo : public QTreeWidget {
    Q_OBJECT
public:
    explicit ArbolTrabajo(const ListasImagenes& imagenes, QWidget* parent = nullptr);
    ~ArbolTrabajo() override;

    // "Genera": builds the tree from the analysed rows and shows it.
    void Genera(const ListaTrabajo& lista, CamposLlevados& campos);
    // Writes autorun.dat into carpeta from the last tree built; a file that
    // cannot be written is reported and gives false.
    bool EscribeAutorun(bool rutasRelativas, const QString& carpeta, Avisos& avisos);
    // Brings forward the open preview, or opens a new one on carpeta's file;
    // Escape closes it.
    void VerAutorun(const QString& carpeta, Avisos& avisos);

private:
    const ListasImagenes& imagenes_;
    std::unique_ptr<ArbolDiscos> arbol_;
    QPointer<frmAuto> vistaPrevia_;
};

// The "Preparar CD" tab: "Poner Tag's", "Borrar tag's" and "Autorun" with
// what each one does.
class PestanaPrepararCD : public QWidget {
    Q_OBJECT
public:
    explicit PestanaPrepararCD(QWidget* parent = nullptr);
    void Habilita(const Habilitados& h);

signals:
    void PonerTags();
    void BorrarTags();
    void Autorun();

private:
    QPushButton* cmdWriteTag;
    QPushButton* cmdDeleteTag;
    QPushButton* cmdauto;
};
