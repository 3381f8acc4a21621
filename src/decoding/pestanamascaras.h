#pragma once
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class Avisos;
class SesionCatalogo;

// The "Mascaras" tab: the stored masks, the box to type a new one and "Añadir".
class PestanaMascaras : public QWidget {
    Q_OBJECT
public:
    PestanaMascaras(SesionCatalogo& sesion, Avisos& avisos, QWidget* parent = nullptr);

    // Stores the typed mask, if any, and lists the masks again; a catalogue
    // failure throws LodrinError.
    void Anade();
    void PonAyuda(const QString& texto);
    // Whether the analysis reads the files' tags, offers what they say
    // ("<etiquetas>") and takes their covers: on unless the person turned it
    // off, kept in the user's settings.
    bool UsaEtiquetas() const;

public slots:
    // "Añadir" and Enter in the box: Anade, a failure shown over the window.
    void cmdAnadir_Click();

private:
    void muestra();

    SesionCatalogo& sesion_;
    Avisos& avisos_;
    QTreeWidget* lstMascaras;
    QLineEdit* txtAnadir;
    QPushButton* cmdAnadir;
    QLabel* lblInfoMasc;
    QCheckBox* chkEtiquetas;
};
