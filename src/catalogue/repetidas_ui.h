#pragma once
#include <QDialog>
#include <vector>

class QLabel;
class QTreeWidget;
class SesionCatalogo;

// The songs on more than one CD, in a window of its own beside the main one:
// one row a song (author, title, on how many CDs, whether the playing times
// differ), below it a row for each place it stands. Double-clicking a place
// goes to the song in the browser. It is read again when shown and when
// another catalogue is opened.
class VentanaRepetidas : public QDialog {
    Q_OBJECT
public:
    VentanaRepetidas(SesionCatalogo& sesion, QWidget* parent = nullptr);
    // Reads the songs from the catalogue open now; throws LodrinError.
    void Lee();

signals:
    void IrACancion(qint64 idcd, qint64 idcancion);
    // "Exportar…": the songs shown, in their order.
    void Exportar(const std::vector<qint64>& idcanciones);

private:
    SesionCatalogo& sesion_;
    QTreeWidget* lstRepetidas;
    QLabel* lblRepetidas;
};
