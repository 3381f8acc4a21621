#pragma once
#include <QDialog>

#include "decoding/elector.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class Avisos;
class ListasImagenes;

// "Escoger la mejor decodificacion para...": the candidate decodings of one
// file, best first; the person picks one or gives up. Made once and kept.
class DlgDecodif : public QDialog, public ElectorDecodificacion {
    Q_OBJECT
public:
    DlgDecodif(const ListasImagenes& imagenes, Avisos& avisos, QWidget* parent = nullptr);

    void BorrarLista() override;
    void AnadeCandidato(const CandidatoDecodificacion& c) override;
    bool MismoDir() const override;
    void LimpiaMismoDir() override;
    int Muestra(const QString& ruta) override;
    CandidatoDecodificacion Candidato(int fila) const override;
    void PonCarpeta(int carpeta, int total) override;

    // The chosen row, "0" for none.
    QString Eleccion() const { return eleccion_; }

public slots:
    void OKButton_Click();
    void CancelButton_Click();

protected:
    // Closing by the title bar (or Escape) is "Cancelar".
    void reject() override;
    // Room the dialog gains goes to song, author and disc.
    void resizeEvent(QResizeEvent* e) override;

private:
    // Every column shows its content: the dialog widens up to the screen.
    void ajustaColumnas();
    void reparteAncho();

    QLabel* lblnomfile;
    QTreeWidget* lstVOpc;
    QCheckBox* chkMismoDir;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    Avisos& avisos_;
    CandidatosOrdenados orden_;
    QString eleccion_ = QStringLiteral("0");
};
