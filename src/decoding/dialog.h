#pragma once
#include <QDialog>
#include <array>

#include "decoding/entradadatos.h"

class QLabel;
class QLineEdit;
class QPushButton;

// "Entra los datos": author, disc, song and position for the selected rows.
// The four boxes are named txtCambia0 to txtCambia3 (and carry their index in
// the property "Index").
class Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);

    // Fills the boxes, enables those that may change and sets the label.
    void Carga(const DatosEntrada& datos);
    // The texts of the boxes, into datos.textos.
    void Lee(DatosEntrada& datos) const;

    std::array<QLineEdit*, 4> txtCambia{};
    QLabel* lblCambia;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    // Which list is edited: the catalogue list or the work list.
    bool catalogo = false;
};

// Answers the data entry with the real dialog, modal over its owner.
class EntradaDialogo : public EntradaDatos {
public:
    explicit EntradaDialogo(QWidget* dueno) : dueno_(dueno) {}
    bool Pide(DatosEntrada& datos) override;

private:
    QWidget* dueno_;
};
