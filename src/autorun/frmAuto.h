#pragma once
#include <QAbstractListModel>
#include <QLabel>
#include <QListView>
#include <QPixmap>
#include <QTextEdit>
#include <QWidget>
#include <array>
#include <atomic>

#include "autorun/lectorautorun.h"
#include "common/cajaimagen.h"

class QPushButton;
class QThread;
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

// The rows of a disc's song-list box: the lines of its title block, then its
// songs, each made text only when the view asks for it.
class ModeloCanciones : public QAbstractListModel {
public:
    ModeloCanciones(const LectorAutorun& datos, int disco, QObject* parent);
    int rowCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& i, int rol) const override;
    // A line longer than any box could show is cut with an ellipsis.
    static constexpr int kMaxCaracteres = 2000;

private:
    const LectorAutorun& datos_;
    int disco_;
    QStringList cabecera_;
};

// A disc's song-list box: a read-only, centred list that reports double
// clicks. A list, not a text box, so a disc of a million songs costs only the
// rows in sight.
class ListaDisco : public QListView {
    Q_OBJECT
public:
    explicit ListaDisco(QWidget* parent);
    void PonDisco(const LectorAutorun& datos, int disco);
    // The box's lines, each followed by a line break.
    QString toPlainText() const;
    bool isReadOnly() const { return editTriggers() == NoEditTriggers; }
    Qt::Alignment alignment() const { return Qt::AlignHCenter; }
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
    ~frmAuto() override;
    // A file larger than this is read in the background, the window answering meanwhile.
    static constexpr qint64 kLecturaInmediata = 1 << 20;
    // Whether a file read in the background is still being read.
    bool Cargando() const;

    static constexpr int kElementos = LectorAutorun::kElementos;
    std::array<ListaDisco*, kElementos> txtdisco{};
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
    void muestraDiscos();
    void ocultaTodo();
    void ponImagen(int d, int k);

    QString carpeta_;
    Avisos& avisos_;
    QThread* cargador_ = nullptr;
    std::atomic_bool cancela_{false};
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
