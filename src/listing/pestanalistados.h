#pragma once
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class Avance;
class Avisos;
class Catalogo;
class ComboImagen;
class ListasImagenes;

// The "Listados" tab: the CD, author and disc filters, the output file, the
// two switches and "Generar listado".
class PestanaListados : public QWidget {
    Q_OBJECT
public:
    PestanaListados(Catalogo& bd, const ListasImagenes& imagenes, const QString& dirPrograma, Avance& avance,
                    Avisos& avisos, QWidget* parent = nullptr);

    // Start-up: no filter chosen.
    void Prepara();
    void PonAyuda(const QString& texto);

public slots:
    void cmdLstAutor_Click();

private:
    Catalogo& bd_;
    const ListasImagenes& imagenes_;
    const QString dirPrograma_;
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
