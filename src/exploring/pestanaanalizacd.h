#pragma once
#include <QWidget>

#include "worklist/habilitacion.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Unidades;

// The "Analiza CD" tab: the drive list, the CD's serial, name and
// description, "Explorar", "Graba" and whether pictures are recorded.
class PestanaAnalizaCD : public QWidget {
    Q_OBJECT
public:
    explicit PestanaAnalizaCD(Unidades& unidades, QWidget* parent = nullptr);

    // The drive check: shows serial and volume name of a ready CD in the
    // selected drive (its name also becomes the description) and says
    // whether there is one. It handles its own failures: a drive that
    // cannot be read is simply not ready.
    bool CompruebaUnidad();
    QString Raiz() const;
    QString Serial() const;
    QString Descripcion() const;
    bool GrabarImagenes() const;
    void PonGrabarImagenes(bool si);
    void PonAyuda(const QString& texto);
    void Habilita(const Habilitados& h);

signals:
    // The selection of Drive1 changed: the window runs the drive check.
    void CambioUnidad();
    void Explorar();
    void Graba();
    // The drives could not be listed: the window tells it through its one
    // error boundary.
    void Fallo(const QString& mensaje);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    bool llenaUnidades();

    Unidades& unidades_;
    QComboBox* Drive1;
    QLabel* lbserial;
    QLabel* lbName;
    QLineEdit* txtCDROM;
    QPushButton* cmdExplorar;
    QPushButton* cmdGraba;
    QCheckBox* chkGrabImg;
    QLabel* lblInfoCD;
};
