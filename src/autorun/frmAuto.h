#pragma once
#include <QLabel>
#include <QPixmap>
#include <QTextEdit>
#include <QWidget>
#include <array>

#include "autorun/lectorautorun.h"
#include "common/cajaimagen.h"

class QPushButton;
class Avisos;

// A disc's cover box: the picture box both programs share.
using CajaDisco = CajaImagen;

// A disc's text box that reports double clicks.
class TextoDisco : public QTextEdit {
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;
    // The box's text with CR LF between lines; shown centred, each line cut to
    // what the box can show.
    void PonTexto(const QString& texto);
signals:
    void DobleClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
};

// The autorun viewer: up to 16 discs side by side, each showing its title
// block and songs or its cover. It reads autorun.dat from carpeta when it is
// made; revision is the program's revision number shown in the information text.
class frmAuto : public QWidget {
    Q_OBJECT
public:
    frmAuto(const QString& carpeta, int revision, Avisos& avisos, QWidget* parent = nullptr);

    static constexpr int kElementos = LectorAutorun::kElementos;
    std::array<TextoDisco*, kElementos> txtdisco{};
    std::array<TextoDisco*, kElementos> txtdisco2{};
    std::array<CajaDisco*, kElementos> imgdisco{};
    QLabel* lblInfo;
    QPushButton* cmdImagenes;
    QPushButton* cmdCanciones;
    QPushButton* cmdSalir;

    // What was read from the file, and the discs laid out (0 when loading stopped).
    LectorAutorun datos;
    int discosMostrados = 0;
    int lado = 0;  // discs per row and per column of the grid

    // Where a picture line of the file points: a line beginning with "\" is a
    // path below the folder of autorun.dat (the root of the CD).
    QString RutaImagen(const QString& linea) const;

    void MuestraCaratula(int d);
    void MuestraCanciones(int d);

public slots:
    void cmdImagenes_Click();
    void cmdCanciones_Click();
    void cmdSalir_Click();
    void imgdisco_Click(int d);
    void imgdisco_DblClick(int d);
    void txtdisco_DblClick(int d);
    void txtdisco2_DblClick(int d);

private:
    void creaControles();
    void carga(int revision);
    void ocultaTodo();
    void ponImagen(int d, int k);

    QString carpeta_;
    Avisos& avisos_;
    std::array<std::array<QPixmap, LectorAutorun::kMaxImagenes + 2>, kElementos + 1> imagenDisco_;
    std::array<std::array<bool, LectorAutorun::kMaxImagenes + 2>, kElementos + 1> imagenCargada_{};
};

// The window's geometry in twips and the grid it lays the discs out in.
namespace vista {
constexpr int kAncho = 9615;
constexpr int kAlto = 8265;
// Discs per row and column for a number of discs; 0 when there are too many.
int LadoRejilla(int discos);
}  // namespace vista
