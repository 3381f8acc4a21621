#pragma once
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class Avance;
class Avisos;
class SesionCatalogo;
class ComboImagen;
class ListasImagenes;

// The "Listados" tab: the CD, author and disc filters, the output file, the
// two switches and "Generar listado".
class PestanaListados : public QWidget {
    Q_OBJECT
public:
    PestanaListados(SesionCatalogo& sesion, const ListasImagenes& imagenes, Avance& avance, Avisos& avisos,
                    QWidget* parent = nullptr);

    // Start-up: no filter chosen.
    void Prepara();
    void PonAyuda(const QString& texto);

public slots:
    void cmdLstAutor_Click();

private:
    SesionCatalogo& sesion_;
    const ListasImagenes& imagenes_;
    Avance& avance_;
    Avisos& avisos_;
    ComboImagen* cmbCd;
    ComboImagen* cmbAutor;
    ComboImagen* cmbDisco;
    QLineEdit* txtSalida;
    QCheckBox* chkCanciones;
    QCheckBox* chkImagenes;
    QLabel* lblListado;
};
